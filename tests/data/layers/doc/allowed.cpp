#include <queue>
#include "util/formattext.h"
// #include <QString> in a comment is no include
