/* Dialog templates of Pelioran.ocx and their controls, shared by Dialogs.rc and the C++
   shell. */
#ifndef PELIORAN_DIALOG_IDS_H
#define PELIORAN_DIALOG_IDS_H

#define IDD_VOICE_CONNECTION 211
#define IDD_RELAY_OUTPUT 213
#define IDD_VOICEKIT_DOWNLOAD 270
#define IDD_AUDIO_CONNECTION 271

/* Audio Connection and Voice Connection */
#define IDC_PORT_CHECK 203
#define IDC_MIC_SLIDER 211
#define IDC_SPK_SLIDER 212
#define IDC_STATUS 213
#define IDC_PORT 218

/* Audio Connection */
#define IDC_AUDIO_CONNECT 245
#define IDC_AUDIO_DISCONNECT 246
#define IDC_RX_TCP 249 /* first of the receive-mode radio group */
#define IDC_RX_UDP 250

/* Voice Connection */
#define IDC_VOICE_CONNECT 214
#define IDC_VOICE_DISCONNECT 215
#define IDC_LISTEN_ONLY 216 /* first of the listen-mode radio group */
#define IDC_LISTEN_SPEAK 217

/* Download */
#define IDC_DOWNLOAD_VOICEKIT 400

/* Relay Output Control: the boxes of outputs 1 to 6 */
#define IDC_DO1 203
#define IDC_DO2 204
#define IDC_DO3 205
#define IDC_DO4 206
#define IDC_DO5 207
#define IDC_DO6 208

#endif
