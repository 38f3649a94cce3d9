// Identifiers of the test dialog template (DialogTests.rc).
#pragma once

#define IDD_EXCHANGE_TEST 200
#define IDC_TEST_FLOAT 100
#define IDC_TEST_SPIN 101
#define IDC_TEST_CHECK 102
#define IDC_TEST_TEXT 103
