#pragma once
// Base of every option object: an update counter and one change event. A
// setter raises the event only when the value changes, and a batch of
// changes between BeginUpdate and EndUpdate raises it once at the end.

#include <functional>

namespace kerv {

class TNotifyPersistent {
 public:
  using ChangeEvent = std::function<void(TNotifyPersistent* sender)>;

  TNotifyPersistent() = default;
  virtual ~TNotifyPersistent() = default;
  // Option objects have one owner and are never copied; Assign copies values.
  TNotifyPersistent(const TNotifyPersistent&) = delete;
  TNotifyPersistent& operator=(const TNotifyPersistent&) = delete;

  void SetOnChange(ChangeEvent handler) { onChange_ = std::move(handler); }
  const ChangeEvent& OnChange() const { return onChange_; }

  void BeginUpdate() { ++updateCount_; }
  void EndUpdate() {
    if (updateCount_ > 0) --updateCount_;
    Changed();
  }
  int UpdateCount() const { return updateCount_; }

  // Fires the change event with this object as sender, unless a batch is open.
  virtual void Changed() {
    if (updateCount_ == 0 && onChange_) onChange_(this);
  }

 protected:
  // Stores value into field and notifies only when it differs.
  template <typename T, typename U>
  void SetAndNotify(T& field, U&& value) {
    if (field == value) return;
    field = std::forward<U>(value);
    Changed();
  }

 private:
  int updateCount_ = 0;
  ChangeEvent onChange_;
};

}  // namespace kerv
