// The main window itself over a configuration of the test's own, with its
// temporary folder set so that building it asks nothing, and an empty
// program folder of its own beside it (no default_streams.xml: the factory
// rows; no player's files). Used by the end-to-end tests from the window.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempDir.h"
#include "mainFrame.h"

class MainWindowEncode : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  /// Selects exactly these rows for encoding.
  void SelectRows(const std::vector<int>& rows);
  /// Types the path into the input field, one character at a time.
  void TypeInput(const std::string& path);
  /// The Encode button, as a click gives it.
  void ClickEncode();

  TempDir out;
  TempDir temp;
  TempDir programDir;
  mainFrame* frame = nullptr;
};
