#pragma once

#include <memory>
#include <string>

namespace pel::win {

// What an accessibility client reads of one of the pane's windows.
struct AccessibleFacts {
  std::wstring name;
  long role = 0;       // ROLE_SYSTEM_*
  long state = 0;      // STATE_SYSTEM_* bits
  std::wstring defaultAction;  // empty: the window has none
  std::wstring value;          // empty: the standard answer
};

// A pane window that describes itself to accessibility clients and does its default action.
class IAccessibleSource {
 public:
  virtual AccessibleFacts Facts() const = 0;
  // False when the window cannot do it now (hidden, disabled, no action).
  virtual bool DoDefaultAction() = 0;

 protected:
  ~IAccessibleSource() = default;
};

// The tie between a window and the accessible objects handed out for it. A client may keep an
// object after the window is gone: the window cuts the tie first, and the object then answers
// that it is no longer connected.
class AccessibleLink {
 public:
  explicit AccessibleLink(IAccessibleSource& source) : source_(&source) {}
  IAccessibleSource* source() const { return source_; }
  void Cut() { source_ = nullptr; }

 private:
  IAccessibleSource* source_;
};

using AccessibleLinkRef = std::shared_ptr<AccessibleLink>;

}  // namespace pel::win
