// The dock tree takes over its site's window procedure: it lays the zones
// out when the site changes size, paints the grabbers after the site has
// painted itself, and turns presses on a grabber into closing the client
// or dragging it out of the site. Docked clients are plain children of the
// site placed by the tree, so the site's own alignment leaves them alone.
#include "platform/ui/Docking.h"

#include <algorithm>
#include <cstdlib>

#include <windowsx.h>

#include "platform/ui/Messages.h"

// --- The site's side -----------------------------------------------------------------

void TWinControl::SetDockSite(bool value) {
  if (dockSite_ == value) return;
  dockSite_ = value;
  if (dockSite_ && useDockManager_ && !dockManager_) SetDockManager(CreateDockManager());
}

void TWinControl::SetUseDockManager(bool value) {
  if (useDockManager_ == value) return;
  useDockManager_ = value;
  if (dockSite_ && useDockManager_ && !dockManager_) SetDockManager(CreateDockManager());
}

void TWinControl::SetDockManager(std::unique_ptr<IDockManager> manager) {
  // The old manager gives the window procedure back before the new one
  // takes it.
  dockManager_.reset();
  dockManager_ = std::move(manager);
}

std::unique_ptr<IDockManager> TWinControl::CreateDockManager() { return std::make_unique<TDockTree>(this); }

// --- Floating host -------------------------------------------------------------------

TFloatingDockHost::TFloatingDockHost(TComponent* owner) : TForm(owner) { SetBorderStyle(bsSizeToolWin); }

// --- Dock tree -----------------------------------------------------------------------

TDockTree::TDockTree(TWinControl* site) : site_(site), previous_(site->WindowProc()) {
  site_->SetWindowProc([this](TMessage& m) { SiteMessage(m); });
}

TDockTree::~TDockTree() { site_->SetWindowProc(previous_); }

void TDockTree::InsertControl(TControl* control, TAlign insertAt, TControl* dropControl) {
  clients_.erase(std::remove(clients_.begin(), clients_.end(), control), clients_.end());
  auto at = std::find(clients_.begin(), clients_.end(), dropControl);
  // Before the drop control for the sides that come first, after it
  // otherwise; at the end when there is none.
  if (at != clients_.end() && insertAt != alTop && insertAt != alLeft) ++at;
  clients_.insert(at, control);
  ResetBounds(true);
  site_->Invalidate();
}

void TDockTree::RemoveControl(TControl* control) {
  clients_.erase(std::remove(clients_.begin(), clients_.end(), control), clients_.end());
  if (drag_ && drag_->Control == control) drag_.reset();
  if (pressed_ == control) pressed_ = nullptr;
  ResetBounds(true);
  site_->Invalidate();
}

bool TDockTree::ZonesSideBySide() const { return site_->Align() == alTop || site_->Align() == alBottom; }

// Clients that left the site some other way (freed, or given another
// parent) are forgotten, and with them a press on their grabber. Only the
// pointers are compared: a freed client must not be touched.
void TDockTree::ForgetDeparted() {
  std::erase_if(clients_, [this](TControl* c) { return !site_->ContainsControl(c); });
  if (pressed_ && std::find(clients_.begin(), clients_.end(), pressed_) == clients_.end()) {
    pressed_ = nullptr;
    drag_.reset();
    if (site_->HandleAllocated() && GetCapture() == site_->Handle()) ReleaseCapture();
  }
}

// One zone per visible client, sharing the site's client area equally
// (the last takes what division leaves over).
std::vector<TRect> TDockTree::ZoneRects() {
  ForgetDeparted();
  int visible = 0;
  for (TControl* c : clients_) visible += c->Visible();
  std::vector<TRect> zones(clients_.size());
  if (visible == 0) return zones;
  const TRect area = DockArea();
  const bool across = ZonesSideBySide();
  const int length = across ? area.Width() : area.Height();
  int start = across ? area.Left : area.Top, index = 0;
  for (size_t i = 0; i < clients_.size(); ++i) {
    if (!clients_[i]->Visible()) continue;
    const int end = ++index == visible ? (across ? area.Right : area.Bottom) : start + length / visible;
    zones[i] = across ? TRect(start, area.Top, end, area.Bottom) : TRect(area.Left, start, area.Right, end);
    start = end;
  }
  return zones;
}

void TDockTree::ResetBounds(bool) {
  const std::vector<TRect> zones = ZoneRects();
  for (size_t i = 0; i < clients_.size(); ++i) {
    if (zones[i].IsEmpty()) continue;
    TRect r = zones[i];
    AdjustDockRect(clients_[i], r);
    if (r != clients_[i]->BoundsRect()) clients_[i]->SetBoundsRect(r);
  }
}

TRect TDockTree::ControlBounds(TControl* control) {
  const std::vector<TRect> zones = ZoneRects();
  for (size_t i = 0; i < clients_.size(); ++i)
    if (clients_[i] == control) return zones[i];
  return TRect();
}

void TDockTree::PaintSite(HDC dc) {
  const std::vector<TRect> zones = ZoneRects();
  TCanvas canvas;
  canvas.SetHandle(dc);
  for (size_t i = 0; i < clients_.size(); ++i)
    if (!zones[i].IsEmpty()) PaintDockFrame(&canvas, clients_[i], zones[i]);
  canvas.SetHandle(nullptr);
}

TControl* TDockTree::GrabberAt(TPoint p, bool& onClose) {
  onClose = false;
  const std::vector<TRect> zones = ZoneRects();
  for (size_t i = 0; i < clients_.size(); ++i) {
    if (zones[i].IsEmpty() || !zones[i].Contains(p)) continue;
    TRect client = zones[i];
    AdjustDockRect(clients_[i], client);
    if (client.Contains(p)) return nullptr;
    onClose = CloseButtonRect(zones[i], client).Contains(p);
    return clients_[i];
  }
  return nullptr;
}

void TDockTree::AdjustDockRect(TControl*, TRect& rect) { rect.Top += GrabberSize; }

// The grabber: two raised lines along its length and the close button at
// its far end.
void TDockTree::PaintDockFrame(TCanvas* canvas, TControl* control, const TRect& rect) {
  TRect client = rect;
  AdjustDockRect(control, client);
  const TRect close = CloseButtonRect(rect, client);
  const bool onLeft = client.Left > rect.Left;
  HDC dc = canvas->Handle();
  for (int line = 0; line < 2; ++line) {
    RECT r = onLeft ? RECT{rect.Left + 3 + 3 * line, close.Bottom + 2, rect.Left + 6 + 3 * line, rect.Bottom - 2}
                    : RECT{rect.Left + 2, rect.Top + 3 + 3 * line, close.Left - 2, rect.Top + 6 + 3 * line};
    DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
  }
  RECT box = close;
  DrawFrameControl(dc, &box, DFC_CAPTION, DFCS_CAPTIONCLOSE);
}

TRect TDockTree::CloseButtonRect(const TRect& zone, const TRect& clientRect) {
  if (clientRect.Left > zone.Left) return TRect(zone.Left + 1, zone.Top + 1, zone.Left + 12, zone.Top + 12);
  return TRect(zone.Right - 15, zone.Top + 1, zone.Right - 2, zone.Top + 12);
}

void TDockTree::BeginPress(TControl* control, TPoint sitePoint, bool onClose) {
  pressed_ = control;
  pressedClose_ = onClose;
  pressPoint_ = sitePoint;
  SetCapture(site_->Handle());
}

// A drag that ends outside the site floats the client where it was
// dropped; a click that starts and ends on a close button hides it.
void TDockTree::EndPress(TPoint sitePoint) {
  TControl* control = pressed_;
  pressed_ = nullptr;
  std::unique_ptr<TDragDockObject> drag = std::move(drag_);
  if (GetCapture() == site_->Handle()) ReleaseCapture();
  if (!control) return;
  if (drag) {
    if (!drag->DropTarget) ManualFloat(control, drag->DockRect);
    return;
  }
  bool onClose = false;
  if (pressedClose_ && GrabberAt(sitePoint, onClose) == control && onClose) {
    control->Hide();
    ResetBounds(true);
    site_->Invalidate();
  }
}

void TDockTree::SiteMessage(TMessage& m) {
  ForgetDeparted();
  switch (m.Msg) {
    case WM_LBUTTONDOWN: {
      const TPoint p(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
      bool onClose = false;
      if (TControl* control = GrabberAt(p, onClose)) {
        BeginPress(control, p, onClose);
        m.Result = 0;
        return;
      }
      break;
    }
    case WM_MOUSEMOVE:
      if (pressed_) {
        const TPoint p(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
        if (!drag_ && !pressedClose_ &&
            (std::abs(p.X - pressPoint_.X) > kDragThreshold || std::abs(p.Y - pressPoint_.Y) > kDragThreshold)) {
          drag_ = std::make_unique<TDragDockObject>();
          drag_->Control = pressed_;
          drag_->DragStart = site_->ClientToScreen(pressPoint_);
        }
        if (drag_) {
          // The client keeps its size and its offset from the pointer.
          const TPoint screen = site_->ClientToScreen(p);
          const TPoint origin = pressed_->Parent()->ClientToScreen(pressed_->BoundsRect().TopLeft());
          drag_->DockRect = Bounds(origin.X + screen.X - drag_->DragStart.X, origin.Y + screen.Y - drag_->DragStart.Y,
                                   pressed_->Width(), pressed_->Height());
          RECT site{};
          GetWindowRect(site_->Handle(), &site);
          drag_->DropTarget = PtInRect(&site, POINT{screen.X, screen.Y}) ? site_ : nullptr;
        }
        m.Result = 0;
        return;
      }
      break;
    case WM_LBUTTONUP:
      if (pressed_) {
        EndPress(TPoint(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)));
        m.Result = 0;
        return;
      }
      break;
    case WM_CAPTURECHANGED:
      if (pressed_ && HWND(m.LParam) != site_->Handle()) {
        pressed_ = nullptr;
        drag_.reset();
      }
      break;
    default:
      break;
  }
  previous_(m);
  switch (m.Msg) {
    case WM_SIZE:
      ResetBounds(false);
      break;
    case WM_PAINT:
      if (HDC dc = GetDC(site_->Handle())) {
        PaintSite(dc);
        ReleaseDC(site_->Handle(), dc);
      }
      break;
    case WM_PRINTCLIENT:
      PaintSite(HDC(m.WParam));
      break;
    default:
      break;
  }
}

// --- Docking and floating ------------------------------------------------------------

namespace {

TDockTree* TreeOf(TWinControl* site) { return site ? dynamic_cast<TDockTree*>(site->DockManager()) : nullptr; }

// A floating host left without its client goes away.
void ReleaseEmptyHost(TWinControl* former) {
  if (auto* host = dynamic_cast<TFloatingDockHost*>(former); host && host->ControlCount() == 0) delete host;
}

}  // namespace

TWinControl* HostDockSite(TControl* control) {
  TWinControl* parent = control->Parent();
  TDockTree* tree = TreeOf(parent);
  if (tree && std::find(tree->Clients().begin(), tree->Clients().end(), control) != tree->Clients().end())
    return parent;
  return nullptr;
}

void ManualDock(TControl* control, TWinControl* site, TAlign insertAt, TControl* dropControl) {
  if (TWinControl* old = HostDockSite(control)) old->DockManager()->RemoveControl(control);
  TWinControl* former = control->Parent();
  control->SetAlign(alNone);
  control->SetParent(site);
  control->Show();
  if (site->DockManager()) site->DockManager()->InsertControl(control, insertAt, dropControl);
  if (former != site) ReleaseEmptyHost(former);
}

void ManualFloat(TControl* control, const TRect& screenRect) {
  if (TWinControl* old = HostDockSite(control)) old->DockManager()->RemoveControl(control);
  auto* host = dynamic_cast<TFloatingDockHost*>(control->Parent());
  if (!host) {
    host = new TFloatingDockHost(control->Owner());
    host->SetCaption(control->Caption());
    control->SetParent(host);
  }
  control->SetAlign(alClient);
  host->SetLeft(screenRect.Left);
  host->SetTop(screenRect.Top);
  host->SetClientSize(screenRect.Width(), screenRect.Height());
  host->Show();
}
