// An MD5 computation (RFC 1321) over OpenSSL's EVP interface: started on construction, fed
// with Update, finished once.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

struct evp_md_ctx_st;

class Md5Digest {
 public:
  using Digest = std::array<uint8_t, 16>;

  Md5Digest();
  ~Md5Digest();
  Md5Digest(const Md5Digest&) = delete;
  Md5Digest& operator=(const Md5Digest&) = delete;

  /// False when the library could not start an MD5 computation (no provider offers it);
  /// Update and Finish then do nothing and Finish gives zero bytes.
  bool IsOk() const { return m_ok; }

  void Update(const void* data, size_t size);
  void Update(const std::string& bytes) { Update(bytes.data(), bytes.size()); }

  /// The 16-byte digest of everything fed so far. Later calls give zero bytes.
  Digest Finish();

 private:
  struct ContextFree {
    void operator()(evp_md_ctx_st* context) const;
  };
  std::unique_ptr<evp_md_ctx_st, ContextFree> m_context;
  bool m_ok = false;
};
