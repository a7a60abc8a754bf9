#include "windowing/views/TreeItem.h"

#include "windowing/core/TimerTargets.h"

TreeItemRec::TreeItemRec() : m_dh(new Swell_vCorvaneBrisko_sdh) {
  m_dh->initWithVal(reinterpret_cast<INT_PTR>(this));
}

TreeItemRec::~TreeItemRec() {
  for (auto it = m_children.rbegin(); it != m_children.rend(); ++it)
    delete *it;
  m_dh->initWithVal(0);
  m_dh->release();
}

TreeItemRec* TreeItemRec::fromHolder(const platform::NSObject* holder) {
  auto* dh = dynamic_cast<const Swell_vCorvaneBrisko_sdh*>(holder);
  return dh ? reinterpret_cast<TreeItemRec*>(dh->getValue()) : nullptr;
}

bool TreeItemRec::find(const std::vector<TreeItemRec*>& list, const TreeItemRec* item,
                       TreeItemRec** parent, int* index) {
  if (!item) return false;
  for (std::size_t i = 0; i < list.size(); ++i)
    if (list[i] == item) {
      if (parent) *parent = nullptr;
      if (index) *index = static_cast<int>(i);
      return true;
    }
  for (TreeItemRec* child : list) {
    TreeItemRec* holder = nullptr;
    int at = 0;
    if (!find(child->m_children, item, &holder, &at)) continue;
    if (parent) *parent = holder ? holder : child;
    if (index) *index = at;
    return true;
  }
  return false;
}

bool TreeItemRec::contains(const TreeItemRec* item) const {
  if (item == this) return true;
  for (const TreeItemRec* child : m_children)
    if (child->contains(item)) return true;
  return false;
}
