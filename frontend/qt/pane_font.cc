#include "frontend/qt/pane_font.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>

#include "frontend/qt/pane_glyphs.h"

namespace orlan {
namespace {

constexpr char kFamily[] = "Orlan Pane";
constexpr int kDescent = 2;  // rows of each glyph below the baseline

// Registers the family with the application's fonts unless it is there already.
bool RegisterFamily() {
  const QString family = QString::fromLatin1(kFamily);
  if (QFontDatabase::families().contains(family)) return true;
  const int id = QFontDatabase::addApplicationFontFromData(PaneFontBdf());
  return QFontDatabase::applicationFontFamilies(id).contains(family);
}

QFont FittingSystemFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  for (int size = kGlyphHeight; size > 6; --size) {
    font.setPixelSize(size);
    const QFontMetricsF metrics(font);
    // The edits keep a margin of a few pixels, so a glyph a little below the cell's
    // width lets a full-width text show whole.
    if (metrics.horizontalAdvance(QLatin1Char('0')) <= kGlyphWidth - 0.25 &&
        metrics.height() <= kGlyphHeight + 2) {
      break;
    }
  }
  return font;
}

}  // namespace

QByteArray PaneFontBdf() {
  QByteArray bdf;
  const auto line = [&bdf](const QByteArray& text) { bdf += text + '\n'; };
  line("STARTFONT 2.1");
  line("FONT -orlan-pane-medium-r-normal--13-130-72-72-c-80-iso10646-1");
  line("SIZE 13 72 72");
  line("FONTBOUNDINGBOX 8 13 0 -2");
  line("STARTPROPERTIES 5");
  line(QByteArray("FAMILY_NAME \"") + kFamily + "\"");
  line("PIXEL_SIZE 13");
  line("SPACING \"C\"");
  line("FONT_ASCENT " + QByteArray::number(kGlyphHeight - kDescent));
  line("FONT_DESCENT " + QByteArray::number(kDescent));
  line("ENDPROPERTIES");
  line("CHARS " + QByteArray::number(kLastGlyph - kFirstGlyph + 1));
  for (int code = kFirstGlyph; code <= kLastGlyph; ++code) {
    line("STARTCHAR c" + QByteArray::number(code));
    line("ENCODING " + QByteArray::number(code));
    line("SWIDTH 615 0");
    line("DWIDTH 8 0");
    line("BBX 8 13 0 -2");
    line("BITMAP");
    for (uint8_t row : kPaneGlyphs[static_cast<std::size_t>(code - kFirstGlyph)]) {
      line(QByteArray::number(row, 16).rightJustified(2, '0').toUpper());
    }
    line("ENDCHAR");
  }
  line("ENDFONT");
  return bdf;
}

QFont PaneEditFont() {
  if (!RegisterFamily()) return FittingSystemFont();
  QFont font(QString::fromLatin1(kFamily));
  font.setPixelSize(kGlyphHeight);
  font.setStyleStrategy(QFont::NoFontMerging);
  return font;
}

}  // namespace orlan
