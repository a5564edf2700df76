#include "OutputExtension.h"

#include "platform/kePath.h"

std::string WithExtension(const std::string& path, const std::string& extension) {
  const size_t separator = path.rfind(kePlatform::kPathSeparator);
  const size_t dot = path.rfind('.');
  const bool hasExtension = dot != std::string::npos && (separator == std::string::npos || dot > separator);
  return (hasExtension ? path.substr(0, dot) : path) + "." + extension;
}
