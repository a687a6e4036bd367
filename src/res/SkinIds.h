/* The operation pane's bitmap resources, shared by Skins.rc and the C++ shell. The skins are
   432 x 96 pixels, one per look of the skinned buttons, all with the same cells; each has a
   twice-as-large drawing (864 x 192) for high display scales. */
#ifndef PELIORAN_SKIN_IDS_H
#define PELIORAN_SKIN_IDS_H

#define IDB_SKIN_DISABLED 206
#define IDB_SKIN_HOVER 207
#define IDB_SKIN_NORMAL 208
#define IDB_SKIN_PRESSED 209
#define IDB_PANE_BACKGROUND 217 /* 180 x 700 */

/* A skin's twice-as-large drawing: its resource plus this. */
#define IDB_SKIN_2X_OFFSET 1000
#define IDB_SKIN_DISABLED_2X 1206
#define IDB_SKIN_HOVER_2X 1207
#define IDB_SKIN_NORMAL_2X 1208
#define IDB_SKIN_PRESSED_2X 1209

#endif
