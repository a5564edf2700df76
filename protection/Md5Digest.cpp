// MD5 through OpenSSL's EVP interface.
#include "Md5Digest.h"

#include <openssl/evp.h>

void Md5Digest::ContextFree::operator()(evp_md_ctx_st* context) const { EVP_MD_CTX_free(context); }

Md5Digest::Md5Digest() : m_context(EVP_MD_CTX_new()) {
  m_ok = m_context && EVP_DigestInit_ex(m_context.get(), EVP_md5(), nullptr) == 1;
}

Md5Digest::~Md5Digest() = default;

void Md5Digest::Update(const void* data, size_t size) {
  if (m_ok && size > 0) m_ok = EVP_DigestUpdate(m_context.get(), data, size) == 1;
}

Md5Digest::Digest Md5Digest::Finish() {
  Digest digest{};
  if (m_ok) {
    unsigned int length = 0;
    m_ok = EVP_DigestFinal_ex(m_context.get(), digest.data(), &length) == 1 && length == digest.size();
    if (!m_ok) digest.fill(0);
  }
  m_ok = false;
  return digest;
}
