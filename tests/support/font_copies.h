#pragma once

#include <QByteArray>
#include <QString>

namespace lumigrave::test {

// The bundled bold font ("DejaVu Sans", "DejaVuSans-Bold") renamed in its name table, so
// that registering it adds another family: family "Copy NNNNNN", PostScript name
// "CopyNNNNNN-Bold", NNNNNN being the number with leading zeros (0 to 999999). Empty when
// the bundled font cannot be read or has no name table.
QByteArray renamedBundledFont(int number);

// The family and the PostScript name a renamed copy is registered under.
QString renamedFamily(int number);
QString renamedPostScriptName(int number);

}  // namespace lumigrave::test
