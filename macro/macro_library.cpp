#include "macro/macro_library.h"

#include <algorithm>

namespace zeltra {

namespace {

bool InLevel(std::int32_t index) { return index >= 0 && index < kMacroLevelCapacity; }

}  // namespace

bool MacroLocation::IsValid() const {
  switch (stage) {
    case 0: return InLevel(stage0Index);
    case 1: return InLevel(stage0Index) && InLevel(stage1Index);
    case 2: return InLevel(stage0Index) && InLevel(stage1Index) && InLevel(stage2Index);
    default: return false;
  }
}

MacroLocation MacroLocation::Parent() const {
  switch (stage) {
    case 1: return At(stage0Index);
    case 2: return At(stage0Index, stage1Index);
    default: return None();
  }
}

int MacroLocation::Position() const {
  switch (stage) {
    case 0: return stage0Index;
    case 1: return stage1Index;
    case 2: return stage2Index;
    default: return -1;
  }
}

MacroLocation MacroLocation::Normalised() const {
  switch (stage) {
    case 0: return At(stage0Index);
    case 1: return At(stage0Index, stage1Index);
    case 2: return At(stage0Index, stage1Index, stage2Index);
    default: return None();
  }
}

namespace {

// The lookups below serve the const and the mutable overloads alike: `Level`
// is the level type with the caller's constness, and so is what they return.
template <class Level>
auto* FindIn(Level& level, int position) {
  const auto it =
      std::lower_bound(level.begin(), level.end(), position, [](const auto& n, int p) { return n.position < p; });
  return it != level.end() && it->position == position ? &*it : nullptr;
}

template <class Level>
auto* NodeUnder(Level& top, const MacroLocation& location) {
  decltype(FindIn(top, 0)) node = nullptr;
  if (!location.IsValid()) return node;
  node = FindIn(top, location.stage0Index);
  if (node && location.stage >= 1) node = FindIn(node->children, location.stage1Index);
  if (node && location.stage >= 2) node = FindIn(node->children, location.stage2Index);
  return node;
}

template <class Level>
Level* LevelUnder(Level& top, const MacroLocation& parent) {
  if (parent.stage == -1) return &top;
  if (parent.stage != 0 && parent.stage != 1) return nullptr;
  auto* folder = NodeUnder(top, parent);
  return folder && folder->item.IsFolder() ? &folder->children : nullptr;
}

}  // namespace

MacroLibrary::Node* MacroLibrary::FindNode(Level& level, int position) { return FindIn(level, position); }

const MacroLibrary::Node* MacroLibrary::FindNode(const Level& level, int position) { return FindIn(level, position); }

int MacroLibrary::FirstFreePosition(const Level& level) {
  int expected = 0;
  for (const Node& n : level) {
    if (n.position != expected) break;
    ++expected;
  }
  return expected < kMacroLevelCapacity ? expected : -1;
}

MacroLibrary::Node& MacroLibrary::InsertNode(Level& level, int position) {
  auto it = std::lower_bound(level.begin(), level.end(), position, [](const Node& n, int p) { return n.position < p; });
  if (it != level.end() && it->position == position) return *it;
  it = level.insert(it, Node{});
  it->position = position;
  return *it;
}

MacroLibrary::Level* MacroLibrary::LevelInside(const MacroLocation& parent) { return LevelUnder(top_, parent); }

const MacroLibrary::Level* MacroLibrary::LevelInside(const MacroLocation& parent) const {
  return LevelUnder(top_, parent);
}

MacroLibrary::Node* MacroLibrary::NodeAt(const MacroLocation& location) { return NodeUnder(top_, location); }

const MacroLibrary::Node* MacroLibrary::NodeAt(const MacroLocation& location) const {
  return NodeUnder(top_, location);
}

MacroItem* MacroLibrary::ItemAt(const MacroLocation& location) {
  Node* node = NodeAt(location);
  return node ? &node->item : nullptr;
}

const MacroItem* MacroLibrary::ItemAt(const MacroLocation& location) const {
  const Node* node = NodeAt(location);
  return node ? &node->item : nullptr;
}

Macro* MacroLibrary::MacroAt(const MacroLocation& location) {
  MacroItem* item = ItemAt(location);
  return item && !item->IsFolder() ? item->macro.get() : nullptr;
}

const Macro* MacroLibrary::MacroAt(const MacroLocation& location) const {
  const MacroItem* item = ItemAt(location);
  return item && !item->IsFolder() ? item->macro.get() : nullptr;
}

bool MacroLibrary::IsFolderAt(const MacroLocation& location) const {
  const MacroItem* item = ItemAt(location);
  return item && item->IsFolder();
}

AddItemResult MacroLibrary::AddItem(std::u16string_view name, MacroLocation& location, bool folder) {
  if (name.empty() || Unavailable()) return AddItemResult::kNotAllowed;
  MacroLocation parent = MacroLocation::None();
  if (IsFolderAt(location)) {
    if (folder && location.stage == 1) return AddItemResult::kNotAllowed;
    parent = location.Normalised();
  }
  Level* level = LevelInside(parent);
  if (NameExists(name, parent)) return AddItemResult::kNameExists;
  const int position = FirstFreePosition(*level);
  if (position < 0) return AddItemResult::kLevelFull;

  Node& node = InsertNode(*level, position);
  node.item.name.assign(name);
  if (folder) {
    node.item.MacroItemIsFolder = 1;
  } else {
    node.item.macro = std::make_unique<Macro>(std::u16string(name));
    node.item.macro->MacroKeyIndex = TakeNextMacroKeyIndex();
  }
  switch (parent.stage) {
    case -1: location = MacroLocation::At(position); break;
    case 0: location = MacroLocation::At(parent.stage0Index, position); break;
    default: location = MacroLocation::At(parent.stage0Index, parent.stage1Index, position); break;
  }
  return AddItemResult::kAdded;
}

AddItemResult MacroLibrary::AddMacro(std::u16string_view name, MacroLocation& location) {
  return AddItem(name, location, false);
}

AddItemResult MacroLibrary::AddFolder(std::u16string_view name, MacroLocation& location) {
  return AddItem(name, location, true);
}

MacroLibrary::Node* MacroLibrary::PutNode(const MacroLocation& location, std::u16string& name) {
  if (!location.IsValid() || name.empty()) return nullptr;
  Level* level = LevelInside(location.Parent());
  if (!level) return nullptr;
  Node& node = InsertNode(*level, location.Position());
  node.item.name = std::move(name);
  return &node;
}

int MacroLibrary::PutMacroItem(std::u16string name, const MacroLocation& location, std::unique_ptr<Macro> macro) {
  Node* node = PutNode(location, name);
  if (!node) return 0;
  node->children.clear();
  node->item.macro = std::move(macro);
  if (!node->item.macro) node->item.macro = std::make_unique<Macro>(node->item.name);
  node->item.MacroItemIsFolder = 0;
  node->item.MacroItemFolderIsOpen = 0;
  return 1;
}

int MacroLibrary::PutFolderItem(std::u16string name, const MacroLocation& location, bool open) {
  if (location.stage == 2) return 0;  // the third level holds macros only
  Node* node = PutNode(location, name);
  if (!node) return 0;
  node->item.macro.reset();
  node->item.MacroItemIsFolder = 1;
  node->item.MacroItemFolderIsOpen = open ? 1 : 0;
  return 1;
}

int MacroLibrary::DeleteItem(const MacroLocation& location) {
  if (!location.IsValid()) return 0;
  Level* level = LevelInside(location.Parent());
  if (!level) return 0;
  auto it =
      std::find_if(level->begin(), level->end(), [&](const Node& n) { return n.position == location.Position(); });
  if (it == level->end()) return 0;
  it = level->erase(it);
  for (; it != level->end(); ++it) --it->position;
  return 1;
}

void MacroLibrary::Clear() { top_.clear(); }

bool MacroLibrary::NameExists(std::u16string_view name, const MacroLocation& parent) const {
  const Level* level = LevelInside(parent);
  if (!level) return false;
  return std::any_of(level->begin(), level->end(), [&](const Node& n) { return n.item.name == name; });
}

bool MacroLibrary::UsesMacroKeyIndex(std::uint32_t index, const MacroLocation& location) const {
  if (index == 0) return false;
  const Node* node = NodeAt(location);
  if (!node) return false;
  const auto uses = [index](const Node& n) { return n.item.macro && n.item.macro->MacroKeyIndex == index; };
  if (uses(*node)) return true;
  for (const Node& child : node->children) {
    if (uses(child)) return true;
    for (const Node& grandchild : child.children)
      if (uses(grandchild)) return true;
  }
  return false;
}

void MacroLibrary::CloseAllFolders() {
  for (Node& a : top_) {
    a.item.MacroItemFolderIsOpen = 0;
    for (Node& b : a.children) b.item.MacroItemFolderIsOpen = 0;
  }
}

template <typename Visit>
void MacroLibrary::WalkRows(Visit&& visit) const {
  for (const Node& a : top_) {
    if (!visit(MacroLocation::At(a.position), a)) return;
    if (!a.item.IsFolder() || !a.item.IsOpen()) continue;
    for (const Node& b : a.children) {
      if (!visit(MacroLocation::At(a.position, b.position), b)) return;
      if (!b.item.IsFolder() || !b.item.IsOpen()) continue;
      for (const Node& c : b.children)
        if (!visit(MacroLocation::At(a.position, b.position, c.position), c)) return;
    }
  }
}

int MacroLibrary::VisibleRowCount() const {
  int rows = 0;
  WalkRows([&](const MacroLocation&, const Node&) {
    ++rows;
    return true;
  });
  return rows;
}

MacroLocation MacroLibrary::RowToLocation(int row) const {
  MacroLocation found = MacroLocation::None();
  if (row < 0) return found;
  int current = 0;
  WalkRows([&](const MacroLocation& location, const Node&) {
    if (current++ != row) return true;
    found = location;
    return false;
  });
  return found;
}

int MacroLibrary::LocationToRow(const MacroLocation& location) const {
  if (!location.IsValid()) return -1;
  const MacroLocation wanted = location.Normalised();
  int row = 0;
  int found = -1;
  WalkRows([&](const MacroLocation& at, const Node&) {
    if (at == wanted) {
      found = row;
      return false;
    }
    ++row;
    return true;
  });
  return found;
}

std::vector<MacroLocation> MacroLibrary::VisibleRows(int first, int count) const {
  std::vector<MacroLocation> rows;
  if (count <= 0) return rows;
  ForEachVisibleRow(first, [&](int, const MacroLocation& location, const MacroItem&) {
    rows.push_back(location);
    return static_cast<int>(rows.size()) < count;
  });
  return rows;
}

void MacroLibrary::ForEachVisibleRow(
    int first, const std::function<bool(int row, const MacroLocation&, const MacroItem&)>& visit) const {
  if (first < 0) return;
  int row = 0;
  WalkRows([&](const MacroLocation& location, const Node& node) {
    const int current = row++;
    return current < first || visit(current, location, node.item);
  });
}

const Macro* MacroLibrary::FindMacroByKeyIndex(std::uint32_t index) const {
  if (index == 0) return nullptr;
  const auto match = [index](const Node& n) -> const Macro* {
    return !n.item.IsFolder() && n.item.macro && n.item.macro->MacroKeyIndex == index ? n.item.macro.get() : nullptr;
  };
  for (const Node& a : top_)
    if (const Macro* m = match(a)) return m;
  for (const Node& a : top_)
    for (const Node& b : a.children)
      if (const Macro* m = match(b)) return m;
  for (const Node& a : top_)
    for (const Node& b : a.children)
      for (const Node& c : b.children)
        if (const Macro* m = match(c)) return m;
  return nullptr;
}

void MacroLibrary::ForEachItem(const std::function<void(const MacroLocation&, const MacroItem&)>& visit) const {
  for (const Node& a : top_) visit(MacroLocation::At(a.position), a.item);
  for (const Node& a : top_)
    for (const Node& b : a.children) visit(MacroLocation::At(a.position, b.position), b.item);
  for (const Node& a : top_)
    for (const Node& b : a.children)
      for (const Node& c : b.children) visit(MacroLocation::At(a.position, b.position, c.position), c.item);
}

int MacroLibrary::ItemCount() const {
  int count = 0;
  for (const Node& a : top_) {
    ++count;
    for (const Node& b : a.children) count += 1 + static_cast<int>(b.children.size());
  }
  return count;
}

std::vector<MacroLocation> MacroLibrary::ItemsOfLevel(const MacroLocation& parent) const {
  std::vector<MacroLocation> items;
  const Level* level = LevelInside(parent);
  if (!level) return items;
  const MacroLocation p = parent.Normalised();
  for (const Node& n : *level) {
    switch (p.stage) {
      case -1: items.push_back(MacroLocation::At(n.position)); break;
      case 0: items.push_back(MacroLocation::At(p.stage0Index, n.position)); break;
      default: items.push_back(MacroLocation::At(p.stage0Index, p.stage1Index, n.position)); break;
    }
  }
  return items;
}

std::uint32_t MacroLibrary::TakeNextMacroKeyIndex() {
  // The counter normally lies above every index in use; a file may hold any
  // number there, and counting past 4294967295 starts again at 1, so the
  // indices in use are skipped. There are far fewer macros than indices.
  std::vector<std::uint32_t> used;
  ForEachItem([&](const MacroLocation&, const MacroItem& item) {
    if (item.macro) used.push_back(item.macro->MacroKeyIndex);
  });
  std::sort(used.begin(), used.end());
  std::uint32_t index = nextMacroKeyIndex == 0 ? 1 : nextMacroKeyIndex;
  while (std::binary_search(used.begin(), used.end(), index)) index = index == UINT32_MAX ? 1 : index + 1;
  nextMacroKeyIndex = index == UINT32_MAX ? 1 : index + 1;
  return index;
}

void MacroLibrary::KeepNextIndexAboveItems() {
  std::uint32_t highest = 0;
  ForEachItem([&](const MacroLocation&, const MacroItem& item) {
    if (item.macro) highest = std::max(highest, item.macro->MacroKeyIndex);
  });
  if (nextMacroKeyIndex <= highest) nextMacroKeyIndex = highest + 1;
  if (nextMacroKeyIndex == 0) nextMacroKeyIndex = 1;
}

}  // namespace zeltra
