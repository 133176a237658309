#pragma once

// Shared by the resource script and the code that loads the resources.
#define IDI_CORVANE 1
#define IDC_HAND_POINTER 2
#define IDR_BACKGROUND_JPEG 3
