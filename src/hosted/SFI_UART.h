#pragma once

#include <cstdint>
#include <string>

#include "hosted/HostedComponent.h"
#include "hosted/SfiUartDispids.h"

namespace pel {

// The hosted serial/PTZ panel, child control 209 of the operation pane: one member function
// per DISPID.
class CSFI_UART : public HostedComponent {
 public:
  using HostedComponent::HostedComponent;

  void SetIPanelMode(int32_t v) { PutLong(uart_dispid::kPanelMode, v); }
  void SetIFuncOptions(int32_t v) { PutLong(uart_dispid::kFuncOptions, v); }
  void SetIInitMode(int32_t v) { PutLong(uart_dispid::kInitMode, v); }
  void SetStrServerAddr(const std::string& v) { PutText(uart_dispid::kServerAddr, v); }
  void SetIServerPort(int32_t v) { PutLong(uart_dispid::kServerPort, v); }
  void SetStrUserName(const std::string& v) { PutText(uart_dispid::kUserName, v); }
  void SetStrPassword(const std::string& v) { PutText(uart_dispid::kPassword, v); }
  void SetIChannel(int32_t v) { PutLong(uart_dispid::kChannel, v); }
  void SetIServerId(int32_t v) { PutLong(uart_dispid::kServerId, v); }
  void SetIUartParam14(int32_t v) { PutLong(uart_dispid::kUartParam14, v); }
  void SetStrUartParam15(const std::string& v) { PutText(uart_dispid::kUartParam15, v); }
  void EnablePanel(bool on) { Call(uart_dispid::kEnablePanel, {Variant::Bool(on)}); }
  void EnablePtz(bool on) { Call(uart_dispid::kEnablePtz, {Variant::Bool(on)}); }
  void ApplySettings() { Call(uart_dispid::kApplySettings); }
  void RefreshPanel() { Call(uart_dispid::kRefreshPanel); }
};

}  // namespace pel
