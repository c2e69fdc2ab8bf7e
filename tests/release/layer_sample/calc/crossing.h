// Two includes the layer check must refuse: a layer above and the toolkit.
#include "documents/today_line.h"
#include <QString>
