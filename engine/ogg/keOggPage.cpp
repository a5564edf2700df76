#include "keOggPage.h"

#include "orvexa/keOutputStream.h"

keOggPage::keOggPage(const ogg_page& page)
    : endOfStream_(ogg_page_eos(&page) != 0),
      serial_(ogg_page_serialno(&page)),
      granulePosition_(ogg_page_granulepos(&page)),
      header_(page.header, page.header + page.header_len),
      body_(page.body, page.body + page.body_len) {}

bool keOggPage::WriteTo(keOutputStream* out) const {
  out->Write(header_.data(), static_cast<int32_t>(header_.size()));
  out->Write(body_.data(), static_cast<int32_t>(body_.size()));
  return endOfStream_;
}
