// Ids of the about box's template, read by windres and by the tests.
#pragma once

#define IDD_ABOUT 2000
#define IDC_IMGABOUT 2001
