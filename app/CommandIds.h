#pragma once
// The command ids of the menus, tool bars, context menus and the tray menu. The numbers are
// the ones the program has always used; recorded macros and the button layout rely on them.

namespace vestrel::cmd {

// File
inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_FILE_SAVE_AS = 57604;
inline constexpr int ID_SEND_MAIL = 32848;
inline constexpr int ID_NET_FAX = 32849;
inline constexpr int ID_FILE_PRINT_SETUP = 57606;
inline constexpr int ID_PRINT_POSITION = 32955;
inline constexpr int ID_PRINT11_TOP = 32890;
inline constexpr int ID_PRINT11_MIDDLE = 32910;
inline constexpr int ID_PRINT11_BOTTOM = 32891;
inline constexpr int ID_FILE_PRINT = 57607;
inline constexpr int ID_APP_EXIT = 57665;

// Edit
inline constexpr int ID_EDIT_UNDO = 57643;
inline constexpr int ID_EDIT_REDO = 32782;
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_REMOVE_PASTE = 32916;
inline constexpr int ID_ERASER_1 = 32924;
inline constexpr int ID_ERASER_5 = 32925;
inline constexpr int ID_ERASER_10 = 32926;
inline constexpr int ID_ERASER_50 = 32927;
inline constexpr int ID_PEN_2 = 32941;
inline constexpr int ID_PEN_4 = 32942;
inline constexpr int ID_PEN_6 = 32943;
inline constexpr int ID_PEN_8 = 32944;
inline constexpr int ID_ADD_TEXT = 32791;
inline constexpr int ID_SET_FONT = 32820;
inline constexpr int ID_CROP = 32828;
inline constexpr int ID_DELETE = 32812;
inline constexpr int ID_ERASER_TOOL = 32921;
inline constexpr int ID_PEN_TOOL = 32936;

// View
inline constexpr int ID_FULL_SCREEN = 32784;
inline constexpr int ID_ACTUAL_SIZE = 32846;
inline constexpr int ID_WINDOW_SIZE = 32847;
inline constexpr int ID_PAN = 32822;
inline constexpr int ID_LIVE_STILL = 32781;
inline constexpr int ID_WINDOW_RESTORE = 32932;

// Scan
inline constexpr int ID_SCAN_SETTINGS = 32928;
inline constexpr int ID_SCAN = 32774;
inline constexpr int ID_TIMED_SCAN = 32775;
inline constexpr int ID_STOP_SCAN = 32776;
inline constexpr int ID_DIGITAL_ZOOM = 32933;
inline constexpr int ID_RECORD = 32777;
inline constexpr int ID_STOP_RECORD = 32778;
inline constexpr int ID_SECOND_CAMERA = 32986;
inline constexpr int ID_SCAN_INTERVAL = 32862;

// Image
inline constexpr int ID_ROTATE_LEFT90 = 32813;
inline constexpr int ID_ROTATE_RIGHT90 = 32814;
inline constexpr int ID_ROTATE = 32801;
inline constexpr int ID_ZOOM_IN = 32788;
inline constexpr int ID_ZOOM_OUT = 32789;
inline constexpr int ID_RESOLUTION = 32827;
inline constexpr int ID_FILE_SIZE = 32861;
inline constexpr int ID_RECT_SELECT = 32792;
inline constexpr int ID_FREE_SELECT = 32793;
inline constexpr int ID_GAMMA = 32798;
inline constexpr int ID_COLOUR_CORRECT = 32796;

// Effects
inline constexpr int ID_INVERT = 32824;
inline constexpr int ID_EMBOSS = 32889;
inline constexpr int ID_EDGES = 32825;
inline constexpr int ID_BINARISE = 32794;
inline constexpr int ID_GREY = 32797;
inline constexpr int ID_DESKEW = 32979;
inline constexpr int ID_REMOVE_BACKGROUND = 32795;
inline constexpr int ID_DENOISE = 32823;
inline constexpr int ID_RED_EYE = 32886;
inline constexpr int ID_ERODE = 32898;
inline constexpr int ID_DILATE = 32899;
inline constexpr int ID_BLUR = 32888;
inline constexpr int ID_SHARPEN = 32810;
inline constexpr int ID_SOFTEN = 32887;
inline constexpr int ID_BRIGHTER = 32803;
inline constexpr int ID_DARKER = 32804;
inline constexpr int ID_MORE_SATURATION = 32807;
inline constexpr int ID_LESS_SATURATION = 32805;
inline constexpr int ID_MORE_CONTRAST = 32808;
inline constexpr int ID_LESS_CONTRAST = 32809;
inline constexpr int ID_MANUAL_DESKEW = 32811;

// Tools
inline constexpr int ID_VIDEO_FORMAT = 32772;
inline constexpr int ID_VIDEO_PROPERTIES = 32771;
inline constexpr int ID_AUDIO_FORMAT = 32839;
inline constexpr int ID_MAKE_PDF = 32870;
inline constexpr int ID_MAKE_SIGNATURE = 32871;
inline constexpr int ID_INSERT_SIGNATURE = 32896;
inline constexpr int ID_STAMP = 32940;
inline constexpr int ID_OCR = 32929;
inline constexpr int ID_OCR_2 = 32948;
inline constexpr int ID_ID_CARD_COPY = 32978;

// Help
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_HELP_MANUAL = 32934;
inline constexpr int ID_HELP_TROUBLESHOOTING = 32946;
inline constexpr int ID_HELP_WEBSITE = 32945;

// Size list entries (menu 164) and the list itself on the main tool bar.
inline constexpr int ID_SIZE_ALL = 32830;
inline constexpr int ID_SIZE_A3 = 35831;  // no menu item; reached through the list
inline constexpr int ID_SIZE_A4 = 32831;
inline constexpr int ID_SIZE_A5 = 32832;
inline constexpr int ID_SIZE_A6 = 32833;
inline constexpr int ID_SIZE_A7 = 32834;
inline constexpr int ID_SIZE_CARD = 32835;
inline constexpr int ID_SIZE_ID_CARD = 32836;
inline constexpr int ID_SIZE_PRESET = 32837;
inline constexpr int ID_SIZE_LIST = 32902;

// Orientation
inline constexpr int ID_ORIENT_NORMAL = 32843;
inline constexpr int ID_ORIENT_UPSIDE_DOWN = 32930;
inline constexpr int ID_ORIENT_LEFT = 32838;
inline constexpr int ID_ORIENT_RIGHT = 32842;

// Second tool bar, floating tool windows, button pane, tray
inline constexpr int ID_RESTORE_DEFAULTS = 32935;
inline constexpr int ID_EBOOK_START = 32950;
inline constexpr int ID_EBOOK_STOP = 32953;
inline constexpr int ID_RECORD_OPEN_ENDED = 32985;
inline constexpr int ID_RECORD_PLAY = 32975;
inline constexpr int ID_RECORD_CLOSE = 32976;
inline constexpr int ID_COPY_STEP_1 = 32982;
inline constexpr int ID_COPY_STEP_2 = 32983;
inline constexpr int ID_COPY_END = 32984;
inline constexpr int ID_OPEN_LIBRARY = 32856;
inline constexpr int ID_TRAY_SHOW = 32965;
inline constexpr int ID_TRAY_EXIT = 32966;

// The size-list command ids in list order (index 0 "全部" .. 8 "预设").
inline constexpr int kSizeCommands[9] = {ID_SIZE_ALL,  ID_SIZE_A3,   ID_SIZE_A4,
                                         ID_SIZE_A5,   ID_SIZE_A6,   ID_SIZE_A7,
                                         ID_SIZE_CARD, ID_SIZE_ID_CARD, ID_SIZE_PRESET};

}  // namespace vestrel::cmd
