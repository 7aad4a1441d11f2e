#include "json/JsonDocument.h"
