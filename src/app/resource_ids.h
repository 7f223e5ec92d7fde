#pragma once

#define IDI_CANTAREL 1
#define IDC_HAND_POINTER 101
