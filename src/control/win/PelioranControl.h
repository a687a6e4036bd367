#pragma once

#include <windows.h>
#include <objsafe.h>
#include <ocidl.h>

#include <memory>

#include "control/PelioranCtrl.h"
#include "control/win/HostBrowser.h"
#include "control/win/RegistryProxySetting.h"
#include "control/win/WinControlChildren.h"
#include "control/win/WinControlWindow.h"
#include "control/win/WinUserMessages.h"
#include "com/OleControl.h"

namespace pel::win {

// The COM object of the Pelioran control: the shared ActiveX plumbing around the core's
// CPelioranCtrl, which holds the properties, their persistence and the control's behaviour.
// Adds scripting safety and the property page list.
class PelioranControl : public com::OleControl, public IObjectSafety, public ISpecifyPropertyPages {
 public:
  PelioranControl();
  ~PelioranControl() override;

  // IObjectSafety
  STDMETHODIMP GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) override;
  STDMETHODIMP SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) override;
  // ISpecifyPropertyPages
  STDMETHODIMP GetPages(CAUUID* pages) override;
  // IOleInPlaceObject: the whole position rectangle, whatever the clip rectangle says.
  STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT clip) override;
  // IOleInPlaceActiveObject: the keys of the pane's modeless dialogs (Tab, Enter, Escape) go
  // through their dialog manager; the pane's own keys (Tab, the arrows, Space, Enter, Alt+Down)
  // to the pane.
  STDMETHODIMP TranslateAccelerator(LPMSG msg) override;
  // IOleControl: no mnemonics; Enter presses the pane's buttons, so the control eats it.
  STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;

 protected:
  HRESULT QueryExtraInterface(REFIID iid, void** out) override;
  void ExchangeProperties(IPropertyExchange& exchange) override;
  HRESULT LoadTypeInfo(REFGUID guid, ITypeInfo** info) override;
  bool OnCreateWindow(const CREATESTRUCTW& create) override;
  void OnDestroyWindow() override;
  void OnDraw(HDC dc, const RECT& bounds) override;
  LRESULT OnWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  bool IsModified() const override { return ctrl_.IsModified(); }
  void SetModified(bool modified) override { ctrl_.SetModifiedFlag(modified); }

  // DispatchTarget: the _DPelioran members.
  HRESULT GetMember(const com::DispMember& member, VARIANT* result) override;
  HRESULT PutMember(const com::DispMember& member, const VARIANT& value) override;
  HRESULT CallMember(const com::DispMember& member, const std::vector<VARIANT*>& args,
                     VARIANT* result) override;

 private:
  bool HasInterface(REFIID iid);
  // Whether the site lock refuses the page the control is on, asked about interface `iid`.
  bool PageRefused(REFIID iid);
  // The core's start sequence for a new control window.
  bool StartSequence(const StartParams& params);

  WinUserMessages messages_;
  WinControlWindow controlWindow_;
  RegistryProxySetting proxySetting_;
  // Declared before the core, which keeps a plain pointer to it.
  std::unique_ptr<WebBrowserHost> hostBrowser_;
  CPelioranCtrl ctrl_;
  // The pane and the viewer of the current control window; they go before the window.
  std::unique_ptr<WinControlChildren> children_;
  com::ComPtr<ITypeLib> typeLib_;
};

HRESULT CreatePelioranControl(REFIID iid, void** out);

}  // namespace pel::win
