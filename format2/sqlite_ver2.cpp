#include "format2/sqlite_ver2.h"
