#pragma once

namespace pel {

class IDispatchPort;
class IOperPaneLink;

// A child window rectangle in the control's client coordinates.
struct ChildRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// Creates the control's two children during its start. The Windows shell owns what it creates
// (the windows go with the control's window); the core keeps plain pointers.
class IControlChildren {
 public:
  virtual ~IControlChildren() = default;

  // The operation pane: a visible child window with `id` in `rect`. Null when the pane object
  // or its window cannot be made.
  virtual IOperPaneLink* CreatePane(const ChildRect& rect, int id) = 0;

  // The hosted video viewer: a visible child control with `id` in `rect`. Null when the
  // component cannot be created.
  virtual IDispatchPort* CreateViewer(const ChildRect& rect, int id) = 0;
};

}  // namespace pel
