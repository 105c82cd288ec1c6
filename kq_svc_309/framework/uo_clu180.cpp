#include "framework/uo_clu180.h"

#include "framework/uo_clu100.h"
#include "platform/card/link.h"
#include "platform/card/protocol.h"
#include "platform/value/text.h"

namespace kq::fw {

struct uo_clu180::Impl {
  std::chrono::milliseconds timeout{2000};
  card::Link link;
};

uo_clu180::uo_clu180() : impl_(std::make_unique<Impl>()) {}
uo_clu180::~uo_clu180() = default;

void uo_clu180::set_answer_timeout(std::chrono::milliseconds timeout) {
  impl_->timeout = timeout;
  impl_->link.set_answer_timeout(timeout);
}

int uo_clu180::of_clu_getdevicestatus() { return impl_->link.is_open() ? 1 : 0; }

int uo_clu180::of_clu_opendevice() {
  impl_->link.close();
  std::string device = configured_card_reader();
  if (device.empty()) return -1;
  auto opened = card::Link::open(device, card::Link::Options{impl_->timeout});
  if (!opened) return -1;
  impl_->link = std::move(*opened);
  if (!impl_->link.call(card::proto::kPing).ok()) {
    impl_->link.close();
    return -1;
  }
  return 1;
}

int uo_clu180::of_clu_getckh(std::string& card) {
  card::Reply r = impl_->link.call(card::proto::kNumber);
  if (!r.ok() || r.values.size() != 1) return -1;
  card = text::trim(r.values[0]);
  return 1;
}

int uo_clu180::of_clu_closedevice() {
  impl_->link.close();
  return 1;
}

}  // namespace kq::fw
