// The security file: admitted code bases, the document bases or a note that they stand in
// the auth file, an optional global expiry date, sealed at its head by a match key.
#pragma once

#include "LineList.h"

#include <optional>
#include <string>

class DocumentBaseList;
class Md5Digest;

class SecurityFile {
 public:
  /// Appends a code base entry line; false, adding nothing, when it would be longer than
  /// the player reads.
  bool AddCodeBase(const std::string& site);
  bool AddCodeBaseWithExpiry(const std::string& site, int day, int month, int year);

  /// The document bases go inside the file. The list is not owned: it must outlive Build.
  /// Without this call the file says that the list is external.
  void SetDocumentBaseList(const DocumentBaseList* list) { m_documentBases = list; }

  /// Sets or replaces the global expiry date.
  void SetExpireDate(int day, int month, int year);

  /// Appends the whole file to the (empty) target. The digest has been started and fed the
  /// secret phrase bytes by the caller; Build feeds it the body and finishes it.
  void Build(Md5Digest& digest, LineList& target) const;

 private:
  std::optional<std::string> m_expireDate;
  const DocumentBaseList* m_documentBases = nullptr;
  LineList m_codeBases;
};

/// Feeds the digest every non-blank line of the body without its CR LF, finishes it and
/// returns the match key: 32 lower-case hexadecimal characters. Blank lines take no part.
std::string ComputeMatchKey(Md5Digest& digest, const LineList& body);
