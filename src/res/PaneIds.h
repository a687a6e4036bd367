/* Child IDs of the operation pane's skinned buttons, module list and hosted panel. The pane
   makes these windows itself; no template lists them. */
#ifndef PELIORAN_PANE_IDS_H
#define PELIORAN_PANE_IDS_H

#define IDC_PANE_CAM 3000 /* first of the 19 buttons, in the order of their IDs */
#define IDC_PANE_PTZ 3001
#define IDC_PANE_CAM1 3002 /* Cam1 .. Cam6 are 3002 .. 3007 */
#define IDC_PANE_CAM6 3007
#define IDC_PANE_ALL 3008
#define IDC_PANE_NONE 3009
#define IDC_PANE_SEQUENCE 3010
#define IDC_PANE_PAUSE 3011
#define IDC_PANE_SNAP 3012
#define IDC_PANE_1X 3013
#define IDC_PANE_2X 3014
#define IDC_PANE_VOICE 3015
#define IDC_PANE_RELAY 3016
#define IDC_PANE_MODULE_LABEL 3017
#define IDC_PANE_MODULE_LIST 3018
#define IDC_PANE_SPEED_LABEL 3019
#define IDC_PANE_PANEL 209 /* the hosted serial/PTZ panel */

#endif
