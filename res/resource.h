// Resource identifiers of Ferrovane.scr.
#pragma once

#define IDS_DESCRIPTION 1     // the description the system lists for the saver
#define IDD_SETUP 102         // setup dialog template
#define IDI_FERROVANE 128     // setup dialog icon
#define IDC_BLANK 129         // invisible cursor of every scene window
#define IDR_SKIN 143          // embedded skin, type "TGA"
#define IDR_MODEL 144         // embedded model, type "MD3"

// Controls of the setup dialog.
#define IDC_OSCILLATIONS 1000
#define IDC_REVOLUTIONS 1002
#define IDC_PREVIEW 1006
#define IDC_MOTION_BLUR 1008
#define IDC_SPIN_OSCILLATIONS 1009
#define IDC_SPIN_REVOLUTIONS 1010
#define IDC_MP3_PATH 1013
#define IDC_BROWSE 1014
#define IDC_MUSIC 1015
