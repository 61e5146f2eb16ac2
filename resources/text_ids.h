// The numbers of the string table's texts, shared by the generated string table and the
// code. Plain definitions, as the resource compiler reads no C++.
#pragma once

// The main window
#define IDS_OPTIMIZE 101
#define IDS_MOVE_ON_TRAY 102
#define IDS_OPTIONS_BUTTON 103
#define IDS_END 104
#define IDS_MINIMIZE 105
#define IDS_CLEAR_LOG 106
#define IDS_SIMPLE_MODE 107
#define IDS_OPTIMIZE2 108
#define IDS_GRAPH_LOG 109
#define IDS_OPTIMIZE2_QUESTION 110
#define IDS_ABOUT 111
#define IDS_UPDATE 112
#define IDS_OPTIMIZE2_EXPLANATION 113
#define IDS_ABOUT_TEXT 114

// The options window
#define IDS_OPTION 115
#define IDS_AUTO_OPTIMIZE 116
#define IDS_INTERVAL 117
#define IDS_INTERVAL_NONE 118
#define IDS_MINIMIZE_ON_CLOSE 119
#define IDS_TRAY_AT_START 120
#define IDS_TRAY_ON_MINIMIZE 121
#define IDS_AUTOSTART 122
#define IDS_SAVE 123

// The simple window
#define IDS_SIMPLE_TITLE 124
#define IDS_SIMPLE_OPTIMIZE 125
#define IDS_SIMPLE_TRAY 126
#define IDS_SIMPLE_END 127
#define IDS_SIMPLE_TOGGLE 128

// Messages
#define IDS_OPTIMIZE_FAILED 129
#define IDS_OPTIMIZE_SUCCEEDED 130
#define IDS_CACHE_FAILED 131
#define IDS_CACHE_DONE 132
#define IDS_SAVED 133
#define IDS_NOT_SAVED 184
#define IDS_OPTIMIZED 134
#define IDS_UP_TO_DATE 135
#define IDS_INFORMATION 136
#define IDS_KERNEL_IN_MEMORY 137
#define IDS_OPTIMIZE2_COMPLETE 138
#define IDS_NEEDS_ADMINISTRATOR 139
#define IDS_UPDATE_FAILED 140

// The memory areas window; the area names follow the order of the areas.
#define IDS_AREAS_BUTTON 141
#define IDS_AREAS_TITLE 142
#define IDS_MANUAL 143
#define IDS_AUTOMATIC 144
#define IDS_LAST_OPTIMIZATION 145
#define IDS_AREA_WORKING_SETS 146
#define IDS_AREA_FILE_CACHE 147
#define IDS_AREA_MODIFIED_LIST 148
#define IDS_AREA_STANDBY_LIST 149
#define IDS_AREA_LOW_PRIORITY_STANDBY 150
#define IDS_AREA_COMBINE_PAGES 151
#define IDS_AREA_REGISTRY_CACHE 152
#define IDS_DONE 153
#define IDS_NOT_SUPPORTED 154
#define IDS_FAILED_ERROR 155
#define IDS_NEEDS_WINDOWS 156
#define IDS_NOT_UNDER_WOW64 157
#define IDS_NOT_IN_LAST_PASS 158
#define IDS_PARTLY 171
#define IDS_NOT_MEASURED 172
#define IDS_FREED 173
#define IDS_TIME 174
#define IDS_PROCESS_COUNTS 175

// The automation window
#define IDS_AUTOMATION_BUTTON 160
#define IDS_AUTOMATION_TITLE 161
#define IDS_THRESHOLD 162
#define IDS_COOLDOWN 163
#define IDS_HOTKEY 164
#define IDS_EXCLUSIONS 165
#define IDS_BAD_THRESHOLD 166
#define IDS_BAD_COOLDOWN 167
#define IDS_BAD_HOTKEY 168
#define IDS_BAD_EXCLUSIONS 169
#define IDS_HOTKEY_TAKEN 170
#define IDS_DEEP_PASS_NOTE 176

// The language window
#define IDS_LANGUAGE_BUTTON 177
#define IDS_LANGUAGE_TITLE 178
#define IDS_LANGUAGE_SYSTEM 179
#define IDS_LANGUAGE_NOTE 180

// The names screen readers give the controls without a text of their own
#define IDS_NAME_GRAPH 181
#define IDS_NAME_LOAD_BAR 182
#define IDS_NAME_LOGO 183
