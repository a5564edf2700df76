// Answers for the modal boxes and file dialogs that the protection dialogs show: each
// expectation checks the text the user would read and gives the button the user would press.
// Include this instead of <wx/testing.h>: a box nobody expected fails the test and is
// dismissed, instead of waiting for a person.
#pragma once

#include <gtest/gtest.h>

#define wxTEST_DIALOG_HOOK_CLASS GtestModalHook
#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/testing.h>

#include <ostream>

/// Texts in failure messages as text, not as a list of characters.
inline void PrintTo(const wxString& text, std::ostream* out)
{
    *out << '"' << text.utf8_str() << '"';
}

/// Reports through GoogleTest and cancels a box that no expectation answers.
class GtestModalHook : public wxTestingModalHook
{
public:
    GtestModalHook(const char* file, int line, const char* function)
        : wxTestingModalHook(file, line, function)
    {
    }

protected:
    int Enter(wxDialog* dialog) override;
    void ReportFailure(const wxString& message) override;
};

/// A message box with this text and caption, answered with the button.
class ExpectMessage : public wxExpectModalBase<wxMessageDialog, ExpectMessage>
{
public:
    ExpectMessage(const wxString& message, const wxString& caption, int answer = wxID_OK)
        : m_message(message), m_caption(caption), m_answer(answer)
    {
    }

    /// The same box, whose text only begins with the message (it quotes the parser).
    ExpectMessage StartingWith() const
    {
        ExpectMessage copy(*this);
        copy.m_prefixOnly = true;
        return copy;
    }

protected:
    int OnInvoked(wxMessageDialog* dialog) const override;
    wxString GetDefaultDescription() const override;

private:
    wxString m_message;
    wxString m_caption;
    int m_answer;
    bool m_prefixOnly = false;
};

/// A Yes/No question with the question icon, answered with wxID_YES or wxID_NO.
ExpectMessage ExpectQuestion(const wxString& message, int answer);

/// A file dialog with this message (and, for saving, the overwrite prompt), given the path
/// as the user's choice, or cancelled.
class ExpectFile : public wxExpectModalBase<wxFileDialog, ExpectFile>
{
public:
    enum Mode { Save, Open };
    ExpectFile(const wxString& message, const wxString& wildcard, Mode mode, const wxString& path,
               int answer = wxID_OK)
        : m_message(message), m_wildcard(wildcard), m_mode(mode), m_path(path), m_answer(answer)
    {
    }

protected:
    int OnInvoked(wxFileDialog* dialog) const override;
    wxString GetDefaultDescription() const override;

private:
    wxString m_message;
    wxString m_wildcard;
    Mode m_mode;
    wxString m_path;
    int m_answer;
};

/// Fails the test for every message box or file dialog shown while it lives, and dismisses
/// it. The program's own dialogs are let through: tests drive those themselves.
class ExpectNoModal : public wxModalDialogHook
{
public:
    ExpectNoModal() { Register(); }
    ~ExpectNoModal() override { Unregister(); }

protected:
    int Enter(wxDialog* dialog) override;
    void Exit(wxDialog*) override {}
};
