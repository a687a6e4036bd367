// The soak's steps: a cycle of what a user at a monitoring desk does with the pane, which a
// page goes through from its start (and again while it lives on). Each step reports
// "step N WHAT" before it acts, so that whoever reads the report knows where it was; some
// add what they saw: "speed N INDEX ITEMDATA", "relay N CLICKS", "audio N connect|disconnect
// STATUS".
//
// A page starts with camera 1 shown and selected. The audio dialog connects first (UDP
// receive mode, so the server's audio plays) and stays connected while cameras go on, a
// snapshot of a few cameras, 2x and its snapshot, 1x, Sequence on and off, Pause and Play, a
// speed, and a module from the module list (every other cycle the second one), which shows
// camera 1 alone again as at a page's start; then the relay dialog with a click on each
// output, None and All; two cameras go off and the selected one is snapped; the audio dialog
// disconnects and exits; PTZ on and off (CAM). No step is one the control refuses with a
// message: the only message boxes are the snapshots' "is saved".
#pragma once
#include <windows.h>

#include "Report.h"

class SoakSteps {
 public:
  static constexpr int kCycle = 25;

  SoakSteps(hostkit::Report& report, DWORD pace_ms) : report_(report), pace_ms_(pace_ms) {}

  // Runs step `position` (0..kCycle-1) of the cycle on the control's pane; `step` is the
  // soak's step number and `cycle` how many cycles went before (it varies the choices).
  // False when a window the step needs is missing or did not do what it should.
  bool Run(HWND control, int step, int position, int cycle);

 private:
  bool Click(HWND control, int id);
  bool ChooseSpeed(HWND control, int step, int cycle);
  bool ChooseModule(HWND control, int cycle);
  bool VisitRelays(HWND control, int step);
  bool ConnectAudio(HWND control, int step);
  bool DisconnectAudio(int step);
  void Error(int step, const char* what);

  hostkit::Report& report_;
  DWORD pace_ms_;
};
