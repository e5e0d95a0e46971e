// Two small caches of the drawing code: one object per key for as long as
// anyone holds it (one decode per skin file however many controls show it),
// and a few recently used values (an image's copies at the sizes it is drawn).
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace zeltra {

template <class Key, class Value>
class SharedCache {
 public:
  // The held object of `key`, or the one `make` returns (nullptr is not kept).
  template <class Make>
  std::shared_ptr<Value> Get(const Key& key, Make&& make) {
    auto found = entries_.find(key);
    if (found != entries_.end()) {
      if (auto held = found->second.lock()) return held;
    }
    std::shared_ptr<Value> made = make();
    if (!made) return made;
    Prune();
    entries_[key] = made;
    return made;
  }
  // Keys whose objects are still held somewhere.
  std::size_t LiveCount() const {
    std::size_t n = 0;
    for (const auto& [key, weak] : entries_) n += weak.expired() ? 0 : 1;
    return n;
  }
  std::size_t EntryCount() const { return entries_.size(); }

 private:
  void Prune() {
    for (auto it = entries_.begin(); it != entries_.end();) it = it->second.expired() ? entries_.erase(it) : ++it;
  }
  std::map<Key, std::weak_ptr<Value>> entries_;
};

// At most `capacity` values, the least recently used dropped first.
template <class Key, class Value>
class RecentCache {
 public:
  explicit RecentCache(std::size_t capacity) : capacity_(capacity) {}
  Value* Find(const Key& key) {
    for (std::size_t i = 0; i < items_.size(); ++i) {
      if (!(items_[i].first == key)) continue;
      if (i != 0) {
        auto item = std::move(items_[i]);
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
        items_.insert(items_.begin(), std::move(item));
      }
      return &items_.front().second;
    }
    return nullptr;
  }
  Value& Insert(Key key, Value value) {
    if (items_.size() >= capacity_ && !items_.empty()) items_.pop_back();
    items_.insert(items_.begin(), {std::move(key), std::move(value)});
    return items_.front().second;
  }
  void Clear() { items_.clear(); }
  std::size_t size() const { return items_.size(); }

 private:
  std::size_t capacity_;
  std::vector<std::pair<Key, Value>> items_;
};

}  // namespace zeltra
