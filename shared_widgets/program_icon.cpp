#include "program_icon.h"

namespace sessiya {

QIcon programIcon() { return QIcon(QStringLiteral(":/icon.ico")); }

}  // namespace sessiya
