// Docking: a windowed control that is a dock site (DockSite) takes other
// controls docked into it. With UseDockManager its dock manager places each
// docked client in a zone of its own, the client under a grabber that
// carries a close button; the user drags a client out by its grabber (it
// then floats in a small window of its own) or closes it.
//
// The base dock tree stacks the zones down the site, or side by side when
// the site is aligned to its parent's top or bottom; descendants change
// where the grabber goes (AdjustDockRect) and how it looks (PaintDockFrame).
#pragma once

#include <memory>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"

// What a dock site asks of its dock manager.
class IDockManager {
 public:
  virtual ~IDockManager() = default;
  // dropControl is the docked client the new one goes next to (nullptr: at
  // the end); insertAt says on which side of it.
  virtual void InsertControl(TControl* control, TAlign insertAt, TControl* dropControl) = 0;
  virtual void RemoveControl(TControl* control) = 0;
  // Lays the zones out again (force: even when the site kept its size).
  virtual void ResetBounds(bool force) = 0;
  // Paints the grabbers over the site's own painting.
  virtual void PaintSite(HDC dc) = 0;
  // The zone of a docked client, grabber included, in site coordinates;
  // empty for a control that is not docked here.
  virtual TRect ControlBounds(TControl* control) = 0;
};

// A control on its way into or out of a dock site: where the drag began
// and the rectangle (screen coordinates) it would take if dropped now.
struct TDragDockObject {
  TControl* Control = nullptr;
  TPoint DragStart;
  TRect DockRect;
  // The site it would be dropped on; nullptr: it would float.
  TWinControl* DropTarget = nullptr;
};

// The small tool window a floating client lives in; it goes away when the
// client docks again.
class TFloatingDockHost : public TForm {
 public:
  explicit TFloatingDockHost(TComponent* owner);
  const char* ClassName() const override { return "TFloatingDockHost"; }
};

class TDockTree : public IDockManager {
 public:
  static constexpr int kDefaultGrabberSize = 12;
  // Moves a pressed grabber this far before the client comes loose.
  static constexpr int kDragThreshold = 5;

  explicit TDockTree(TWinControl* site);
  // Gives the site its window procedure back.
  ~TDockTree() override;
  TDockTree(const TDockTree&) = delete;
  TDockTree& operator=(const TDockTree&) = delete;

  void InsertControl(TControl* control, TAlign insertAt, TControl* dropControl) override;
  void RemoveControl(TControl* control) override;
  void ResetBounds(bool force) override;
  void PaintSite(HDC dc) override;
  TRect ControlBounds(TControl* control) override;

  TWinControl* DockSite() const { return site_; }
  // The docked clients in zone order (hidden ones keep their place).
  const std::vector<TControl*>& Clients() const { return clients_; }
  // The client whose grabber holds a site point; onClose tells whether the
  // point is on its close button.
  TControl* GrabberAt(TPoint p, bool& onClose);
  // The drag under way, or nullptr.
  const TDragDockObject* DragObject() const { return drag_.get(); }

 protected:
  // Takes the grabber off a zone, leaving the client's rectangle: the base
  // tree's grabber runs along the top.
  virtual void AdjustDockRect(TControl* control, TRect& rect);
  // Draws the grabber of a zone (the zone's rectangle, grabber included).
  virtual void PaintDockFrame(TCanvas* canvas, TControl* control, const TRect& rect);
  // The part of the site the zones share: its client area.
  virtual TRect DockArea() { return site_->ClientRect(); }
  // The close button within a zone's grabber.
  virtual TRect CloseButtonRect(const TRect& zone, const TRect& clientRect);
  // Every message of the site passes here first; the base tree paints,
  // lays out and handles the grabbers, then hands the message on.
  virtual void SiteMessage(TMessage& message);
  // The site's procedure before the tree took over.
  void CallPrevious(TMessage& message) { previous_(message); }

  int GrabberSize = kDefaultGrabberSize;

 private:
  void ForgetDeparted();
  std::vector<TRect> ZoneRects();
  bool ZonesSideBySide() const;
  void BeginPress(TControl* control, TPoint sitePoint, bool onClose);
  void EndPress(TPoint sitePoint);

  TWinControl* site_;
  TWndMethod previous_;
  std::vector<TControl*> clients_;
  // A pressed grabber: its client, whether on the close button, and the
  // drag it becomes once the pointer moves far enough.
  TControl* pressed_ = nullptr;
  bool pressedClose_ = false;
  TPoint pressPoint_;
  std::unique_ptr<TDragDockObject> drag_;
};

// Docks control into site: it leaves its former site (or floating window),
// becomes a child of site, and the site's dock manager gives it a zone.
void ManualDock(TControl* control, TWinControl* site, TAlign insertAt = alNone, TControl* dropControl = nullptr);
// Takes control out of its site into a floating window whose client area
// is screenRect.
void ManualFloat(TControl* control, const TRect& screenRect);
// The dock site holding control, or nullptr when it is not docked.
TWinControl* HostDockSite(TControl* control);
