// Whole-file reads and replacing writes for the world's files.
#pragma once

#include "foundation/file_read.h"
#include "foundation/file_write.h"
#include "foundation/text_file.h"
