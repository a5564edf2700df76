#include "keOrvexaPropertyList.h"

#include "keBytes.h"

int32_t keOrvexaPropertyList::AddProperty(const char* key, const char* value) {
  properties_.push_back(std::string(key) + "=" + value);
  return static_cast<int32_t>(properties_.size());
}

void keOrvexaPropertyList::Serialize(uint8_t* buffer, uint32_t* pos) {
  PutU32(static_cast<uint32_t>(properties_.size()), buffer, pos);
  for (const auto& text : properties_) {
    PutU16(static_cast<uint16_t>(text.size()), buffer, pos);
    PutBytes(buffer, pos, text.data(), static_cast<uint32_t>(text.size()));
  }
}

void keOrvexaPropertyList::Parse(const uint8_t* buffer, uint32_t* pos) {
  uint32_t count = GetU32(buffer, pos);
  for (uint32_t i = 0; i < count; ++i) {
    uint16_t length = GetU16(buffer, pos);
    std::string text(length, '\0');
    GetBytes(buffer, pos, text.data(), length);
    properties_.push_back(std::move(text));
  }
}

int32_t keOrvexaPropertyList::Count() { return static_cast<int32_t>(properties_.size()); }

int32_t keOrvexaPropertyList::SerializedSize() {
  int32_t size = 4;
  for (const auto& text : properties_) size += static_cast<int32_t>(text.size()) + 2;
  return size;
}

keOrvexaElement::~keOrvexaElement() {
  for (auto* child : children_) delete child;
}
