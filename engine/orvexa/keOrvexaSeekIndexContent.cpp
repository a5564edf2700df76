#include "keOrvexaSeekIndexContent.h"

#include <string>

#include "keAVSeekIndex.h"

void keOrvexaSeekIndexContent::WaitStreamClosed() {
  if (index_) index_->WaitClosed();
}

void keOrvexaSeekIndexContent::FillHeaderProperties() {
  AddProperty("content-id", std::to_string(contentId_).c_str());
  AddProperty("content-type", "kestrin-av-seek-index");
  AddProperty("content-ref-id", std::to_string(refId_).c_str());
  AddProperty("content-name", "Seek Index");
}

int64_t keOrvexaSeekIndexContent::GetDataSize() { return index_ ? index_->GetSize() : 0; }

void keOrvexaSeekIndexContent::WriteData(keOutputStream* out) {
  if (index_) index_->Write(out, 0);
}

void keOrvexaSeekIndexContent::SetIndex(keAVSeekIndex* index, int32_t refId) {
  index_ = index;
  refId_ = refId;
}
