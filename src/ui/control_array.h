// A control array: element 0 is the template, further elements are loaded as copies of it
// and unloaded again by index.
#pragma once

#include <functional>
#include <map>
#include <memory>

#include "ui/controls.h"

namespace pravelo::ui {

template <class T>
class ControlArray {
 public:
  using Copier = std::function<std::unique_ptr<T>(const T& from)>;

  ControlArray(std::unique_ptr<T> templ, Copier copy) : copy_(std::move(copy)) {
    elements_.emplace(0, std::move(templ));
  }

  T& Template() { return *elements_.at(0); }
  T& operator[](int index) { return *elements_.at(index); }
  bool Contains(int index) const { return elements_.count(index) != 0; }
  int UpperBound() const { return elements_.rbegin()->first; }
  std::size_t Size() const { return elements_.size(); }

  T& Load(int index) {
    auto& slot = elements_[index];
    slot = copy_(*elements_.at(0));
    if (onLoaded) onLoaded(index, *slot);
    return *slot;
  }

  void Unload(int index) {
    if (index == 0) return;
    auto it = elements_.find(index);
    if (it == elements_.end()) return;
    if (onUnloading) onUnloading(index, *it->second);
    elements_.erase(it);
  }

  // The binding creates and destroys the real controls here.
  std::function<void(int, T&)> onLoaded;
  std::function<void(int, T&)> onUnloading;

 private:
  std::map<int, std::unique_ptr<T>> elements_;
  Copier copy_;
};

}  // namespace pravelo::ui
