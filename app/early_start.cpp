#include "app/early_start.h"

#include <utility>

#include "app/slot_controls.h"

namespace app {

EarlyStart::EarlyStart(session::GameSession& session, std::array<QSize, session::kSlotCount> sizes)
    : session_(session), sizes_(sizes) {
  session_.OnPictureArrived([this](session::Slot slot, const content::JpegPicture& picture) {
    const QSize size = sizes_[std::size_t(slot)];
    if (!ShownSlot(slot) || size.isEmpty()) return;
    outcome_.decodes[std::size_t(slot)] = decoder_.Decode(picture, size);
  });
  started_ = std::async(std::launch::async, [this] { return session_.Start(); });
}

EarlyStart::~EarlyStart() {
  if (started_.valid()) started_.wait();
  session_.OnPictureArrived(nullptr);
}

StartOutcome EarlyStart::Finish() {
  outcome_.started = started_.get();
  session_.OnPictureArrived(nullptr);
  return std::move(outcome_);
}

}  // namespace app
