#include "print/print_faces.h"

QFont PrintFace(double size, bool bold, bool condensed) {
    QFont face("DejaVu Sans");
    face.setPointSizeF(size);
    face.setBold(bold);
    if (condensed) face.setStretch(QFont::Condensed);
    // The same widths on every device: unhinted outlines, as in the file.
    face.setHintingPreference(QFont::PreferNoHinting);
    face.setKerning(false);
    return face;
}

QSizeF PageSize(PrintedPaper paper) {
    return paper == PrintedPaper::Letter ? QSizeF(792.0, 612.0) : QSizeF(841.89, 595.28);
}
