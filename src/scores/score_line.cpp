// The score line's digit form on disk.
#include "scores/score_line.h"
