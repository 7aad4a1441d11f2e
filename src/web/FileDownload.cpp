#include "web/FileDownload.h"
