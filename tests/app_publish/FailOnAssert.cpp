// A toolkit assertion in a window test is a test failure, never a message
// box that waits for a person.
#include <gtest/gtest.h>
#include <wx/debug.h>
#include <wx/string.h>

namespace {

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                  const wxString& msg) {
  ADD_FAILURE_AT(file.utf8_str().data(), line)
      << "toolkit assertion in " << func.utf8_str().data() << ": " << cond.utf8_str().data()
      << " " << msg.utf8_str().data();
}

class AssertEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { wxSetAssertHandler(&FailOnAssert); }
};

[[maybe_unused]] ::testing::Environment* const g_assertEnvironment =
    ::testing::AddGlobalTestEnvironment(new AssertEnvironment);

}  // namespace
