#include "framework/IPlugEditorDelegate.h"

namespace iplug {

IEditorDelegate::IEditorDelegate(int nParams) {
  const size_t count = nParams > 0 ? static_cast<size_t>(nParams) : 0;
  mParams.reserve(count);
  for (size_t i = 0; i < count; ++i)
    mParams.push_back(std::make_unique<IParam>());
}

IEditorDelegate::~IEditorDelegate() = default;

IParam* IEditorDelegate::GetParam(int idx) {
  return idx >= 0 && idx < NParams() ? mParams[static_cast<size_t>(idx)].get() : nullptr;
}

const IParam* IEditorDelegate::GetParam(int idx) const {
  return idx >= 0 && idx < NParams() ? mParams[static_cast<size_t>(idx)].get() : nullptr;
}

}  // namespace iplug
