// Resource ids of the framework's test dialog.
#pragma once
#define IDD_FRAMEWORK_TEST  9001
#define IDC_TEST_EDIT       9101
#define IDC_TEST_CHECK      9102
#define IDC_TEST_COMBO      9103
#define IDC_TEST_BUTTON     9104
#define IDC_TEST_RADIO1     9105
#define IDC_TEST_RADIO2     9106
