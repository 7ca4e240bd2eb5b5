// The pane font as a font of the toolkit, for the debug window's edits, so that text
// typed over a pane looks like the pane and fills its cells exactly.
#ifndef ORLAN_FRONTEND_QT_PANE_FONT_H_
#define ORLAN_FRONTEND_QT_PANE_FONT_H_

#include <QByteArray>
#include <QFont>

namespace orlan {

// The pane glyphs as a BDF bitmap font file.
QByteArray PaneFontBdf();

// The pane glyphs registered with the application as a font of 13 pixels; where the
// platform cannot load bitmap fonts, the largest fixed-pitch system font whose
// characters fit an 8 by 13 cell.
QFont PaneEditFont();

}  // namespace orlan

#endif  // ORLAN_FRONTEND_QT_PANE_FONT_H_
