// Anything that can sit in a FilterGraph: a source or a renderer.
#pragma once

#include <string>

class FilterGraph;

class MediaFilter {
 public:
  explicit MediaFilter(const char* name) : name_(name ? name : "") {}
  /// Remove a filter from its graph (or destroy the graph) before destroying
  /// the filter; renderers do it themselves (BaseRenderer.h).
  virtual ~MediaFilter() = default;
  MediaFilter(const MediaFilter&) = delete;
  MediaFilter& operator=(const MediaFilter&) = delete;

  /// The name given when the filter was added to its graph, else its own.
  const std::string& Name() const { return name_; }
  /// The graph the filter is in, or null.
  FilterGraph* Graph() const { return graph_; }

 private:
  friend class FilterGraph;
  std::string name_;
  FilterGraph* graph_ = nullptr;
};
