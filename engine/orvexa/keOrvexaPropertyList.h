// An ordered list of "key=value" texts, as the container stores them: a u32
// count, then for each text a u16 length and its bytes (no NUL), big-endian.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class keOrvexaPropertyList {
 public:
  keOrvexaPropertyList() = default;
  virtual ~keOrvexaPropertyList() = default;
  keOrvexaPropertyList(const keOrvexaPropertyList&) = delete;
  keOrvexaPropertyList& operator=(const keOrvexaPropertyList&) = delete;

  /// Appends key "=" value as one text; returns the new count.
  virtual int32_t AddProperty(const char* key, const char* value);
  virtual void Serialize(uint8_t* buffer, uint32_t* pos);
  /// Appends the texts serialised at buffer[*pos] to this list.
  virtual void Parse(const uint8_t* buffer, uint32_t* pos);
  virtual int32_t Count();
  /// 4 + the sum of (length + 2) over the texts.
  virtual int32_t SerializedSize();

  const std::string& GetProperty(int32_t index) const { return properties_[index]; }

 private:
  std::vector<std::string> properties_;
};

/// A property list with owned children, destroyed with it.
class keOrvexaElement : public keOrvexaPropertyList {
 public:
  ~keOrvexaElement() override;

 protected:
  std::vector<keOrvexaPropertyList*> children_;
};
