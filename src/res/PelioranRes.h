/* Resource identifiers of Pelioran.ocx, shared by the resource script and the C++ shell. The
   string identifiers are in strings.inc. */
#ifndef PELIORAN_RES_H
#define PELIORAN_RES_H

#define IDI_PELIORAN 1              /* the control's icon */
#define IDB_PELIORAN 1              /* the toolbox bitmap */
#define IDD_ABOUTBOX_PELIORAN 1     /* the About box */
#define IDD_PROPPAGE_PELIORAN 200   /* the property page */
#define IDR_TYPELIB 1               /* the type library (resource type TYPELIB) */

#endif
