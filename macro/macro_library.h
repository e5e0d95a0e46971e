// The macro library: a tree of folders and macros, three levels deep, with at
// most 60 items per level.
//
// Items are addressed by position (a, b, c), each 0..59, as the library file
// and the tree views do. Only used positions are stored: every level is a
// short list sorted by position, so an empty library costs a few bytes and
// every walk is proportional to the items, not to the 219,660 positions.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/macro.h"

namespace zeltra {

inline constexpr int kMacroLevelCapacity = 60;
inline constexpr int kMacroLibraryDepth = 3;

// A position in the library: stage 0, 1 or 2 with the indices it uses (the
// unused ones 0); stage -1 means no location.
struct MacroLocation {
  std::int32_t stage = -1;
  std::int32_t stage0Index = 0;
  std::int32_t stage1Index = 0;
  std::int32_t stage2Index = 0;

  static constexpr MacroLocation None() { return {}; }
  static constexpr MacroLocation At(int a) { return {0, a, 0, 0}; }
  static constexpr MacroLocation At(int a, int b) { return {1, a, b, 0}; }
  static constexpr MacroLocation At(int a, int b, int c) { return {2, a, b, c}; }

  // Stage 0..2 with every index the stage uses within 0..59.
  bool IsValid() const;
  // The folder that holds this location's level; None() for the top level.
  MacroLocation Parent() const;
  // Index of this item inside its level.
  int Position() const;
  // The same location with the indices the stage does not use set to 0.
  MacroLocation Normalised() const;
  friend bool operator==(const MacroLocation&, const MacroLocation&) = default;
};

struct MacroItem {
  std::u16string name;           // empty only for a free position
  std::unique_ptr<Macro> macro;  // none for a folder
  std::uint32_t MacroItemIsFolder = 0;
  std::uint32_t MacroItemFolderIsOpen = 0;

  bool IsFolder() const { return MacroItemIsFolder != 0; }
  bool IsOpen() const { return MacroItemFolderIsOpen != 0; }
};

enum class AddItemResult {
  kAdded,       // the location now names the new item
  kNameExists,  // a sibling has exactly this name; nothing added
  kLevelFull,   // 60 items at the target level; nothing added
  kNotAllowed,  // no folder inside a stage 1 folder, no empty name, an unavailable library
};

class MacroLibrary {
 public:
  MacroLibrary() = default;
  MacroLibrary(const MacroLibrary&) = delete;
  MacroLibrary& operator=(const MacroLibrary&) = delete;
  MacroLibrary(MacroLibrary&&) = default;
  MacroLibrary& operator=(MacroLibrary&&) = default;

  // The item at a location, or nothing for a free position or no location.
  MacroItem* ItemAt(const MacroLocation& location);
  const MacroItem* ItemAt(const MacroLocation& location) const;
  // The macro of the item at a location; nothing for folders and free positions.
  Macro* MacroAt(const MacroLocation& location);
  const Macro* MacroAt(const MacroLocation& location) const;
  bool IsFolderAt(const MacroLocation& location) const;

  // Adds a new macro (next MacroKeyIndex) at the first free position: inside
  // the folder at `location` (stage 0 or 1), else at the top level. On
  // kAdded `location` names the new item; otherwise it is left as it was.
  // Nothing is added while the library is unavailable (kNotAllowed).
  AddItemResult AddMacro(std::u16string_view name, MacroLocation& location);
  // The same for a closed folder: inside a stage 0 folder, else at the top
  // level; a stage 1 folder cannot hold folders (kNotAllowed).
  AddItemResult AddFolder(std::u16string_view name, MacroLocation& location);

  // Store an item at an exact location (the file readers). Refused (0) for an
  // invalid location, an empty name, when the parent folder is missing, and
  // for a folder at the third level.
  // Replacing a folder by a macro drops what the folder held.
  int PutMacroItem(std::u16string name, const MacroLocation& location, std::unique_ptr<Macro> macro);
  int PutFolderItem(std::u16string name, const MacroLocation& location, bool open);

  // Frees the item and all below it; later siblings move one position up.
  int DeleteItem(const MacroLocation& location);
  void Clear();

  // Whether an item of the level inside `parent` (None() = top level) has
  // exactly this name.
  bool NameExists(std::u16string_view name, const MacroLocation& parent) const;
  // Whether the macro at `location`, or a macro anywhere inside the folder
  // there, has this index. Index 0 names no macro.
  bool UsesMacroKeyIndex(std::uint32_t index, const MacroLocation& location) const;
  void CloseAllFolders();

  // The rows of the tree views: top-level items, each open folder followed by
  // its items. Rows that do not exist give None() / -1.
  int VisibleRowCount() const;
  MacroLocation RowToLocation(int row) const;
  int LocationToRow(const MacroLocation& location) const;
  // Up to `count` rows from row `first`, in one walk (for drawing).
  std::vector<MacroLocation> VisibleRows(int first, int count) const;
  // Calls visit(row, location, item) for the rows from `first` on, in order,
  // until it returns false: one walk, whatever the number of rows drawn.
  void ForEachVisibleRow(int first,
                         const std::function<bool(int row, const MacroLocation&, const MacroItem&)>& visit) const;

  // The first macro with this index: the top level in position order, then
  // the second level, then the third. Index 0 finds nothing.
  const Macro* FindMacroByKeyIndex(std::uint32_t index) const;

  // Every used item: all top-level items in position order, then all second-
  // level items in order of (a, b), then the third level (the file's order).
  void ForEachItem(const std::function<void(const MacroLocation&, const MacroItem&)>& visit) const;
  int ItemCount() const;
  // Used positions of the level inside `parent`, in position order.
  std::vector<MacroLocation> ItemsOfLevel(const MacroLocation& parent) const;

  // Hands out the next MacroKeyIndex (never 0).
  std::uint32_t TakeNextMacroKeyIndex();
  // Moves the next index beyond every index the library holds, so that a
  // damaged or hand-edited counter can never hand out an index in use.
  void KeepNextIndexAboveItems();

  // Unavailable: the library's file exists but could not be read in this
  // run (held by another program, no permission, a read error), so what is
  // in memory is not what the file holds, and neither is the next index.
  // Its file is then never written over, nothing can be added (a new macro's
  // index could be one the file already gives a macro), and an apply keeps
  // each macro button's own copy of its macro. A later load that reads the
  // file, or finds it gone, makes the library available again.
  bool Unavailable() const { return !unavailableFile_.empty(); }
  const std::filesystem::path& UnavailableFile() const { return unavailableFile_; }
  // The file that could not be read; an empty path: available.
  void SetUnavailableFile(std::filesystem::path file) { unavailableFile_ = std::move(file); }

  // The index the next new macro receives; 1 until a library file sets it.
  std::uint32_t nextMacroKeyIndex = 1;
  // The item last selected in the manager or the macro chooser.
  MacroLocation selectedLocation;

 private:
  struct Node {
    int position = 0;
    MacroItem item;
    std::vector<Node> children;  // sorted by position; only folders have any
  };
  using Level = std::vector<Node>;

  static Node* FindNode(Level& level, int position);
  static const Node* FindNode(const Level& level, int position);
  static int FirstFreePosition(const Level& level);
  static Node& InsertNode(Level& level, int position);
  Level* LevelInside(const MacroLocation& parent);
  const Level* LevelInside(const MacroLocation& parent) const;
  const Node* NodeAt(const MacroLocation& location) const;
  Node* NodeAt(const MacroLocation& location);
  Node* PutNode(const MacroLocation& location, std::u16string& name);
  AddItemResult AddItem(std::u16string_view name, MacroLocation& location, bool folder);
  // Calls visit(location, node) for each visible row in order until it returns false.
  template <typename Visit>
  void WalkRows(Visit&& visit) const;

  Level top_;
  std::filesystem::path unavailableFile_;
};

}  // namespace zeltra
