// Answers for the protection dialogs' modal boxes, and the safety net under every test.
#include "ModalExpectations.h"

#include <wx/app.h>
#include <wx/debug.h>
#include <wx/time.h>
#include <wx/utils.h>

#include <memory>

namespace {

wxString Describe(wxDialog* dialog)
{
    if (auto* message = dynamic_cast<wxMessageDialog*>(dialog))
        return "message box \"" + message->GetMessage() + "\"";
    return "dialog \"" + dialog->GetTitle() + "\"";
}

void FailOnAssert(const wxString& file, int line, const wxString& function, const wxString& condition,
                  const wxString& message)
{
    ADD_FAILURE_AT(file.utf8_str(), line)
        << "wx assertion in " << function << ": " << condition << " " << message;
}

/// Under every test: an assertion fails the test instead of asking a person, and a box that
/// no test expects is dismissed after failing it.
class ProtectionGuiEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        wxSetAssertHandler(FailOnAssert);
        m_safetyNet = std::make_unique<ExpectNoModal>();
    }
    void TearDown() override { m_safetyNet.reset(); }

private:
    std::unique_ptr<ExpectNoModal> m_safetyNet;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ProtectionGuiEnvironment);

} // namespace

int GtestModalHook::Enter(wxDialog* dialog)
{
    const int answer = wxTestingModalHook::Enter(dialog);
    return answer == wxID_NONE ? wxID_CANCEL : answer;
}

void GtestModalHook::ReportFailure(const wxString& message)
{
    ADD_FAILURE() << message;
}

int ExpectMessage::OnInvoked(wxMessageDialog* dialog) const
{
    if (m_prefixOnly)
        EXPECT_TRUE(dialog->GetMessage().StartsWith(m_message)) << dialog->GetMessage();
    else
        EXPECT_EQ(dialog->GetMessage(), m_message);
    EXPECT_EQ(dialog->GetCaption(), m_caption) << "for " << m_message;
    const long style = dialog->GetMessageDialogStyle();
    if (m_answer == wxID_YES || m_answer == wxID_NO) {
        EXPECT_TRUE(style & wxYES_NO) << m_message;
        EXPECT_TRUE(style & wxICON_QUESTION) << m_message;
    } else {
        EXPECT_FALSE(style & wxYES_NO) << m_message;
    }
    return m_answer;
}

wxString ExpectMessage::GetDefaultDescription() const
{
    return "message box \"" + m_message + "\"";
}

ExpectMessage ExpectQuestion(const wxString& message, int answer)
{
    return ExpectMessage(message, "Question", answer);
}

int ExpectFile::OnInvoked(wxFileDialog* dialog) const
{
    EXPECT_EQ(dialog->GetMessage(), m_message);
    EXPECT_EQ(dialog->GetWildcard(), m_wildcard) << "for " << m_message;
    if (m_mode == Save) {
        EXPECT_TRUE(dialog->HasFdFlag(wxFD_SAVE)) << m_message;
        EXPECT_TRUE(dialog->HasFdFlag(wxFD_OVERWRITE_PROMPT)) << m_message;
    } else {
        EXPECT_TRUE(dialog->HasFdFlag(wxFD_OPEN)) << m_message;
    }
    if (m_answer == wxID_OK) {
        dialog->SetPath(m_path);
        // wxGTK's chooser takes the path only once it has read the folder, in the main loop.
        const wxLongLong deadline = wxGetLocalTimeMillis() + 3000;
        while (dialog->GetPath() != m_path && wxGetLocalTimeMillis() < deadline) {
            wxTheApp->Yield(true);
            wxMilliSleep(5);
        }
        EXPECT_EQ(dialog->GetPath(), m_path) << "for " << m_message;
    }
    return m_answer;
}

wxString ExpectFile::GetDefaultDescription() const
{
    return "file dialog \"" + m_message + "\"";
}

int ExpectNoModal::Enter(wxDialog* dialog)
{
    if (!dynamic_cast<wxMessageDialog*>(dialog) && !dynamic_cast<wxFileDialog*>(dialog))
        return wxID_NONE;
    ADD_FAILURE() << "unexpected " << Describe(dialog);
    return wxID_CANCEL;
}
