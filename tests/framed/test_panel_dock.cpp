// The framed panel as a dock site under Wine: docked clients get zones
// under captioned grabbers, and real mouse input on a grabber closes its
// client or drags it out into a floating window.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "FramedInput.h"
#include "framed/FmPanel.h"

namespace {

// A dock site of 300 x 200 with its raised frame (2 pixels a side) and two
// docked panels, on the suite's form.
class PanelDock : public FramedInput {
 protected:
  void SetUp() override {
    FramedInput::SetUp();
    site_ = new TFmPanel(form_);
    site_->SetParent(form_);
    site_->SetBounds(10, 10, 300, 200);
    site_->SetDockSite(true);
    for (const char* caption : {"Alpha", "Beta"}) {
      auto* client = new TFmPanel(form_);
      client->SetCaption(caption);
      client->SetParent(form_);
      ManualDock(client, site_);
      clients_.push_back(client);
    }
    Pump();
  }
  // A client left floating takes its window with it.
  void TearDown() override {
    for (TFmPanel* client : clients_) {
      TWinControl* host = dynamic_cast<TFloatingDockHost*>(client->Parent());
      delete client;
      delete host;
    }
    delete site_;
  }

  // Real mouse input at a client point of the site, handled at once.
  void Mouse(int x, int y, DWORD buttons = 0) {
    MouseEvent(site_->Handle(), x, y, buttons);
    Pump();
  }
  static COLORREF ScreenPixel(TWinControl* control, int x, int y) {
    HDC dc = GetDC(control->Handle());
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(control->Handle(), dc);
    return c;
  }

  TFmPanel* site_ = nullptr;
  std::vector<TFmPanel*> clients_;
};

TEST_F(PanelDock, DocksClientsIntoZonesUnderCaptionedGrabbers) {
  ASSERT_NE(dynamic_cast<TFmPanelDockManager*>(site_->DockManager()), nullptr);
  EXPECT_TRUE(site_->DoubleBuffered());
  TFmPanel* alpha = clients_[0];
  TFmPanel* beta = clients_[1];
  EXPECT_EQ(HostDockSite(alpha), site_);
  EXPECT_EQ(HostDockSite(beta), site_);
  // Inside the frame, each client under a 14-pixel grabber, stacked.
  EXPECT_EQ(alpha->BoundsRect(), TRect(2, 16, 298, 100));
  EXPECT_EQ(beta->BoundsRect(), TRect(2, 114, 298, 198));
  EXPECT_EQ(site_->DockManager()->ControlBounds(beta), TRect(2, 100, 298, 198));
  // Neither client has the focus: both grabbers show the inactive caption.
  site_->Repaint();
  Pump();
  EXPECT_EQ(ScreenPixel(site_, 60, 3), ColorToRGB(clInactiveCaption));
  EXPECT_EQ(ScreenPixel(site_, 60, 101), ColorToRGB(clInactiveCaption));
  // A focused client's grabber turns active.
  beta->SetFocus();
  site_->Repaint();
  Pump();
  EXPECT_EQ(ScreenPixel(site_, 60, 101), ColorToRGB(clActiveCaption));
  // A site along its parent's top puts the zones side by side, grabbers on
  // their left.
  site_->SetAlign(alTop);
  site_->DockManager()->ResetBounds(true);
  const int half = 2 + (site_->Width() - 4) / 2;
  EXPECT_EQ(alpha->BoundsRect(), TRect(16, 2, half, 198));
  EXPECT_EQ(beta->BoundsRect(), TRect(half + 14, 2, site_->Width() - 2, 198));
}

TEST_F(PanelDock, CloseGlyphHidesItsClientOnAClick) {
  // The close glyph sits at the right end of the top grabber.
  Mouse(290, 8, MOUSEEVENTF_LEFTDOWN);
  Mouse(290, 8, MOUSEEVENTF_LEFTUP);
  EXPECT_FALSE(clients_[0]->Visible());
  EXPECT_EQ(clients_[1]->BoundsRect(), TRect(2, 16, 298, 198));
  // A press that leaves the glyph before the release closes nothing.
  Mouse(290, 108, MOUSEEVENTF_LEFTDOWN);
  Mouse(200, 108);
  Mouse(200, 108, MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(clients_[1]->Visible());
}

TEST_F(PanelDock, DraggingAGrabberOutFloatsItsClient) {
  TFmPanel* alpha = clients_[0];
  TFmPanel* beta = clients_[1];
  // Pressed on Beta's grabber, dragged past the site's right edge.
  Mouse(60, 106, MOUSEEVENTF_LEFTDOWN);
  Mouse(70, 110);
  ASSERT_NE(site_->DockManager(), nullptr);
  Mouse(360, 150);
  Mouse(400, 160);
  Mouse(400, 160, MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(HostDockSite(beta), nullptr);
  auto* host = dynamic_cast<TFloatingDockHost*>(beta->Parent());
  ASSERT_NE(host, nullptr);
  EXPECT_TRUE(host->Visible());
  EXPECT_EQ(host->ClientWidth(), 296);
  EXPECT_EQ(host->ClientHeight(), 84);
  // Alpha has the site to itself.
  EXPECT_EQ(alpha->BoundsRect(), TRect(2, 16, 298, 198));
  // Docked again, Beta leaves no empty floating window behind.
  const int forms = Screen->FormCount();
  ManualDock(beta, site_);
  EXPECT_EQ(Screen->FormCount(), forms - 1);
  EXPECT_EQ(HostDockSite(beta), site_);
  EXPECT_EQ(beta->BoundsRect(), TRect(2, 114, 298, 198));
}

// A client freed in the middle of a drag is dropped nowhere.
TEST_F(PanelDock, AClientFreedDuringADragIsForgotten) {
  const int forms = Screen->FormCount();
  Mouse(60, 106, MOUSEEVENTF_LEFTDOWN);
  Mouse(80, 120);
  delete clients_[1];
  clients_.pop_back();
  Mouse(400, 160);
  Mouse(400, 160, MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(Screen->FormCount(), forms);
  EXPECT_EQ(site_->DockManager()->ControlBounds(clients_[0]), TRect(2, 2, 298, 198));
  EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
