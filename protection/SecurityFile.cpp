// Building and sealing the security file.
#include "SecurityFile.h"

#include "DocumentBaseList.h"
#include "EntryLine.h"
#include "Md5Digest.h"
#include "SecurityFileText.h"

#include <cstring>

bool SecurityFile::AddCodeBase(const std::string& site) {
  const std::string line = EntryLine(site);
  if (!EntryLineFits(line)) return false;
  m_codeBases.AddLine(line);
  return true;
}

bool SecurityFile::AddCodeBaseWithExpiry(const std::string& site, int day, int month, int year) {
  const std::string line = EntryLine(site, day, month, year);
  if (!EntryLineFits(line)) return false;
  m_codeBases.AddLine(line);
  return true;
}

void SecurityFile::SetExpireDate(int day, int month, int year) { m_expireDate = FormatDate(day, month, year); }

void SecurityFile::Build(Md5Digest& digest, LineList& target) const {
  for (int i = 0; i < 4; ++i) target.AddBlank();

  target.AddComment(kCodeBaseComment);
  target.AddLine(kCodeBaseKeyword);
  target.AddBlank();
  target.AppendAll(m_codeBases);
  target.AddBlank();
  target.AddComment(kClosingRule);

  if (m_documentBases) {
    m_documentBases->WriteSection(target);
  } else {
    target.AddComment(kExternalDocumentBaseComment);
    target.AddLine(kExternalDocumentBaseKeyword);
    target.AddBlank();
    target.AddComment(kClosingRule);
  }

  if (m_expireDate) {
    target.AddBlank();
    target.AddComment(kExpireDateComment);
    target.AddLine(kExpireDateKeyword);
    target.AddBlank();
    target.AddLine(*m_expireDate);
    target.AddBlank();
    target.AddComment(kClosingRule);
  }

  const std::string key = ComputeMatchKey(digest, target);

  // The head is inserted after sealing: it carries the key and is not part of it.
  target.InsertLine(1, kMatchKeyKeyword);
  target.InsertLine(2, key);
  target.InsertLine(4, kKeyUpdateKeyword);
  target.InsertLine(0, kDoNotEditWarning);
  target.InsertLine(1, kDateFormatWarning);
}

std::string ComputeMatchKey(Md5Digest& digest, const LineList& body) {
  const size_t lineEndLength = std::strlen(kLineEnd);
  for (size_t i = 0; i < body.Count(); ++i) {
    if (body.IsBlank(i)) continue;
    const std::string& line = body.GetLine(i);
    digest.Update(line.data(), line.size() - lineEndLength);
  }
  const Md5Digest::Digest bytes = digest.Finish();
  return ToHex(bytes.data(), bytes.size());
}
