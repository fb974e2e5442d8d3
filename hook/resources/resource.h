// Resource ids of the hook library.
#pragma once

#define IDS_PRODUCT_NAME 1
#define IDI_VANTOR 100
