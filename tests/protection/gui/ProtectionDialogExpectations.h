// wxExpectModal for the two protection dialogs, for tests of the window that opens them:
// the expectation checks that the dialog was created as the window's Security commands
// create it, and ends it with the given code instead of showing it.
#pragma once

#include "ModalExpectations.h"
#include "securityDialog.h"
#include "securityKeyDialog.h"

template <>
class wxExpectModal<securityKeyDialog> : public wxExpectModalBase<securityKeyDialog> {
 public:
  explicit wxExpectModal(int code = securityKeyDialog::ID_CLOSE) : m_code(code) {}

 protected:
  int OnInvoked(securityKeyDialog* dialog) const override {
    EXPECT_EQ(dialog->GetId(), 10000);
    EXPECT_EQ(dialog->GetTitle(), "Secret Phrase");
    return m_code;
  }

 private:
  int m_code;
};

template <>
class wxExpectModal<securityDialog> : public wxExpectModalBase<securityDialog> {
 public:
  explicit wxExpectModal(int code = wxID_CANCEL) : m_code(code) {}

 protected:
  int OnInvoked(securityDialog* dialog) const override {
    EXPECT_EQ(dialog->GetId(), 10002);
    EXPECT_EQ(dialog->GetTitle(), "securityDialog");
    return m_code;
  }

 private:
  int m_code;
};
