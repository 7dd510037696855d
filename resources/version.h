#pragma once
// Version facts of ambrel.exe, shared by the version resource in ambrel.rc and the code.
// Texts are UTF-8; ambrel.rc reads them under code page 65001.

#define AMBREL_VERSION_MAJOR 1
#define AMBREL_VERSION_MINOR 0
#define AMBREL_VERSION_PATCH 0
#define AMBREL_VERSION_BUILD 6
// The numeric form as VERSIONINFO wants it: four comma-separated numbers.
#define AMBREL_VERSION_NUMBERS 1, 0, 0, 6

#define AMBREL_VERSION_TEXT "1.00.0006"
#define AMBREL_PRODUCT_NAME "Ambrel V2 Ver.1.0h"
#define AMBREL_DESCRIPTION "時計プログラムです"
#define AMBREL_INTERNAL_NAME "ambrel"
#define AMBREL_ORIGINAL_FILENAME "ambrel.exe"
#define AMBREL_COMPANY_NAME "Ambrel V2 開発チーム"
#define AMBREL_COPYRIGHT "Copyright (C) 2026 Ambrel V2 開発チーム"
