#include "text/EscapeDecoding.h"
