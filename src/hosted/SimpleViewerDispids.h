#pragma once

#include <cstdint>

namespace pel::viewer_dispid {

// DISPIDs of the hosted video viewer {775D096D-0F0F-45FA-8EE1-4C1FD194910B}. Six-member
// families list cameras 1 to 6 in order.
constexpr int32_t kScaleCam[6] = {1, 2, 3, 4, 162, 163};            // dScaleCamN, R8
constexpr int32_t kConnectCam[6] = {5, 6, 7, 8, 164, 165};          // bConnectCamN, BOOL
constexpr int32_t kServerAddr = 13;                                 // strServerAddr
constexpr int32_t kServerPort = 14;                                 // iServerPort
constexpr int32_t kUserName = 15;                                   // strUserName
constexpr int32_t kPassword = 16;                                   // strPassword
constexpr int32_t kServerId = 17;                                   // iServerId
constexpr int32_t kShowCam[6] = {18, 19, 20, 21, 168, 169};         // bShowCamN, BOOL
constexpr int32_t kSingleView = 22;                                 // bSingleView
constexpr int32_t kFrameInterval = 23;                              // iFrameInterval
constexpr int32_t kViewOption[6] = {53, 54, 55, 56, 57, 58};        // bViewOption1..6
constexpr int32_t kCamName[6] = {67, 68, 69, 70, 188, 189};         // strCamNameN
constexpr int32_t kSequence = 151;                                  // bSequence
constexpr int32_t kRefreshCam[6] = {152, 153, 154, 155, 228, 229};  // bRefreshCamN, BOOL
constexpr int32_t kViewOption7 = 156;                               // iViewOption7
constexpr int32_t kTileWidth = 158;                                 // iTileWidth
constexpr int32_t kTileHeight = 159;                                // iTileHeight
constexpr int32_t kProxyAddr = 160;                                 // strProxyAddr
constexpr int32_t kProxyPort = 161;                                 // iProxyPort
constexpr int32_t kViewOption8 = 264;                               // bViewOption8
constexpr int32_t kGetJpegFrame = 267;
constexpr int32_t kGetBmpFrame = 268;
constexpr int32_t kGetServerTag = 273;
constexpr int32_t kSelectCamera = 276;
constexpr int32_t kClearSelection = 277;
constexpr int32_t kGetCodecType = 294;
constexpr int32_t kEnableStreamAudio = 295;

// Events the viewer fires.
constexpr int32_t kEventCameraSelected = 3;
constexpr int32_t kEventPictureWidth = 7;

}  // namespace pel::viewer_dispid
