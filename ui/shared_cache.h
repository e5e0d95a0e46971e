// Small caches of the drawing code: one object per key for as long as anyone
// holds it (one decode per skin file however many controls show it), a slot
// that makes its object only when it is first needed and lets it go while
// not shown, and a few recently used values (an image's stretched copies).
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

// A slot naming its object by key: nothing is made when the key is given, the
// object is made (or shared, through the cache, with every other slot of the
// key) at the first Get, and a slot whose object could not be made does not
// try again until it is unloaded or given a key anew. Unload lets the object
// go (the cache frees it with its last holder; the next Get makes it again).
template <class Key, class Value>
class LazyShared {
 public:
  void Assign(SharedCache<Key, Value>& cache, Key key) {
    cache_ = &cache;
    key_ = std::move(key);
    Unload();
  }
  template <class Make>
  Value* Get(Make&& make) {
    if (!value_ && !tried_ && cache_ != nullptr) {
      tried_ = true;
      value_ = cache_->Get(key_, std::forward<Make>(make));
    }
    return value_.get();
  }
  void Unload() {
    value_.reset();
    tried_ = false;
  }
  void Reset() {
    Unload();
    cache_ = nullptr;
    key_ = Key{};
  }
  bool named() const { return cache_ != nullptr; }
  const Key& key() const { return key_; }
  bool loaded() const { return value_ != nullptr; }

 private:
  SharedCache<Key, Value>* cache_ = nullptr;
  Key key_{};
  std::shared_ptr<Value> value_;
  bool tried_ = false;
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
