/* The operation pane's bitmap resources, shared by Skins.rc and the C++ shell. The skins are
   432 x 96 pixels, one per look of the skinned buttons, all with the same cells. */
#ifndef PELIORAN_SKIN_IDS_H
#define PELIORAN_SKIN_IDS_H

#define IDB_SKIN_DISABLED 206
#define IDB_SKIN_HOVER 207
#define IDB_SKIN_NORMAL 208
#define IDB_SKIN_PRESSED 209
#define IDB_PANE_BACKGROUND 217 /* 180 x 700 */

#endif
