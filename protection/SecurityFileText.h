// The fixed lines of the security file and the auth file, which the player looks for.
#pragma once

// Comments (written after a "#").
inline constexpr const char* kCodeBaseComment = "------------- Codebase list ---------------";
inline constexpr const char* kDocumentBaseComment = "------------ Document base list -----------";
inline constexpr const char* kExternalDocumentBaseComment = "------ Document base list is external -----";
inline constexpr const char* kExpireDateComment = "-------------- Expire date ----------------";
/// 43 dashes: closes every block.
inline constexpr const char* kClosingRule = "-------------------------------------------";

// Keywords.
inline constexpr const char* kCodeBaseKeyword = "$code-base-list";
inline constexpr const char* kDocumentBaseKeyword = "$document-base-list";
inline constexpr const char* kExternalDocumentBaseKeyword = "$external-document-base-list";
inline constexpr const char* kExpireDateKeyword = "$security-expire-date";
inline constexpr const char* kMatchKeyKeyword = "$security-match-key";
inline constexpr const char* kKeyUpdateKeyword = "$start-security-key-update";

// The warnings at the head of the security file (whole lines).
inline constexpr const char* kDoNotEditWarning = "# WARNING: DO NOT EDIT OR DELETE THIS SECURITY FILE!";
inline constexpr const char* kDateFormatWarning = "# WARNING: Date Format Is: dd/m(m)/yyyy";
