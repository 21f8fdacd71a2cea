#pragma once
// The widget of each row of the page table.
#include "pages/PageTable.h"

class CFormPage;

CFormPage* CreatePage(PageId page);
