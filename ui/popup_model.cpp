#include "ui/popup_model.h"

#include "ui/ui_context.h"

namespace zeltra {

PopupMetrics MetricsOf(PopupLayout layout, float scale) {
  PopupMetrics m;
  m.margin = Scaled(1, scale);
  m.itemLeft = m.margin;
  m.itemHeight = Scaled(22, scale);
  switch (layout) {
    case PopupLayout::kActionInsert:
      m.itemRight = Scaled(117, scale);
      break;
    case PopupLayout::kLighting:
      m.itemRight = Scaled(188, scale);
      break;
    case PopupLayout::kProfileCombo:
      m.itemLeft = 0;
      m.itemRight = Scaled(230, scale);
      m.itemHeight = Scaled(25, scale);
      break;
    case PopupLayout::kStandard:
    default:
      m.itemRight = Scaled(161, scale);
      break;
  }
  m.windowWidth = layout == PopupLayout::kProfileCombo ? m.itemRight : m.itemRight + m.margin;
  m.separatorTop = Scaled(2, scale);
  m.separatorBottom = Scaled(3, scale);
  m.separatorAdvance = Scaled(4, scale);
  return m;
}

PopupModel::PopupModel(PopupLayout layout, float scale)
    : layout_(layout), metrics_(MetricsOf(layout, scale)), nextTop_(metrics_.margin) {
  size_ = {metrics_.windowWidth, nextTop_ + metrics_.margin};
}

void PopupModel::AddItem(int value, std::u16string text, bool marked) {
  PopupItem item;
  item.value = value;
  item.text = std::move(text);
  item.marked = marked;
  item.rect = {metrics_.itemLeft, nextTop_, metrics_.itemRight, nextTop_ + metrics_.itemHeight};
  nextTop_ += metrics_.itemHeight;
  items_.push_back(std::move(item));
  size_ = {metrics_.windowWidth, nextTop_ + metrics_.margin};
}

void PopupModel::AddSeparator() {
  PopupItem item;
  item.separator = true;
  item.rect = {metrics_.margin, nextTop_ + metrics_.separatorTop, metrics_.itemRight,
               nextTop_ + metrics_.separatorBottom};
  nextTop_ += metrics_.separatorAdvance;
  items_.push_back(std::move(item));
  size_ = {metrics_.windowWidth, nextTop_ + metrics_.margin};
}

const PopupItem* PopupModel::item(int index) const {
  if (index < 0 || index >= static_cast<int>(items_.size())) return nullptr;
  return &items_[static_cast<std::size_t>(index)];
}

int PopupModel::ItemAt(int x, int y) const {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (!items_[i].separator && items_[i].rect.Contains(x, y)) return static_cast<int>(i);
  }
  return -1;
}

bool PopupModel::HoverAt(int x, int y) {
  const PopupItem* current = hoveredItem();
  if (current != nullptr && current->rect.Contains(x, y)) return false;
  const int found = ItemAt(x, y);
  if (found >= 0) {
    hovered_ = found;
    return true;
  }
  const bool had = hovered_ >= 0;
  hovered_ = -1;
  return had;
}

bool PopupModel::PressAt(int x, int y) {
  const PopupItem* current = hoveredItem();
  if (current != nullptr && !current->rect.Contains(x, y)) hovered_ = -1;
  return false;
}

PopupModel::Release PopupModel::ReleaseAt(int x, int y) {
  const PopupItem* current = hoveredItem();
  if (current == nullptr) return {};
  if (!current->rect.Contains(x, y)) {
    hovered_ = -1;
    return {true, -1};
  }
  return {false, hovered_};
}

}  // namespace zeltra
