#pragma once

#include <cstdint>

namespace pel::uart_dispid {

// DISPIDs of the hosted serial/PTZ panel {DBFD22D6-5229-407D-A407-E15D7FF35253}.
constexpr int32_t kPanelMode = 1;       // iPanelMode
constexpr int32_t kFuncOptions = 2;     // iFuncOptions
constexpr int32_t kInitMode = 4;        // iInitMode
constexpr int32_t kServerAddr = 8;      // strServerAddr
constexpr int32_t kServerPort = 9;      // iServerPort
constexpr int32_t kUserName = 10;       // strUserName
constexpr int32_t kPassword = 11;       // strPassword
constexpr int32_t kChannel = 12;        // iChannel
constexpr int32_t kServerId = 13;       // iServerId
constexpr int32_t kUartParam14 = 14;    // iUartParam14
constexpr int32_t kUartParam15 = 15;    // strUartParam15
constexpr int32_t kEnablePanel = 36;
constexpr int32_t kEnablePtz = 40;
constexpr int32_t kApplySettings = 41;
constexpr int32_t kRefreshPanel = 42;

// Event the panel fires: SizeChanged(long cx, long cy).
constexpr int32_t kEventSizeChanged = 1;

}  // namespace pel::uart_dispid
