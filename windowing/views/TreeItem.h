#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/objects/Object.h"
#include "windowing/Win32Types.h"
#include "windowing/core/TimerTargets.h"

// One item of a tree view; an HTREEITEM points to it. The holder is the object the
// outline view shows for it and points back to it until the record goes.
class TreeItemRec {
 public:
  TreeItemRec();
  // Frees the text and the children (last first) and clears the holder's pointer before
  // letting the holder go, so a late reference to the holder finds no record.
  ~TreeItemRec();
  TreeItemRec(const TreeItemRec&) = delete;
  TreeItemRec& operator=(const TreeItemRec&) = delete;

  // The record behind a holder; null once the record is gone or for another object.
  static TreeItemRec* fromHolder(const platform::NSObject* holder);
  // Looks for item among the list's items, then inside each in turn, depth first: the
  // parent holding it (null for one in the list itself) and its index there.
  static bool find(const std::vector<TreeItemRec*>& list, const TreeItemRec* item,
                   TreeItemRec** parent, int* index);
  // Whether item is this record or lies below it.
  bool contains(const TreeItemRec* item) const;

  Swell_vCorvaneBrisko_sdh* m_dh;  // owned
  bool m_haschildren = false;
  std::optional<std::string> m_value;    // the text; none when never given
  std::vector<TreeItemRec*> m_children;  // owned
  LPARAM m_param = 0;
};
