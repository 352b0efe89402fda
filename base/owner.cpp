#include "base/owner.h"

void OwnerWarn(const Owner* owner, const char* text, const char* caption) {
  if (owner && owner->warn) owner->warn(owner->context, text, caption);
}

bool OwnerAsk(const Owner* owner, const char* text, const char* caption) {
  return owner && owner->ask && owner->ask(owner->context, text, caption);
}

CaptionScope::CaptionScope(const Owner* owner) : owner_(owner) {
  if (owner_ && owner_->getCaption) saved_ = owner_->getCaption(owner_->context).substr(0, 99);
}

CaptionScope::~CaptionScope() {
  if (owner_ && owner_->setCaption) owner_->setCaption(owner_->context, saved_.c_str());
}

void CaptionScope::Show(const char* text) {
  if (owner_ && owner_->setCaption) owner_->setCaption(owner_->context, text);
}
