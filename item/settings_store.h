// The settings store: the item key's values and the page texts, read and
// written as REG_SZ text without terminator.
#pragma once
#include "item_state.h"

void SaveSettings();
void ReloadSettings();
void LoadSettingsAtCreate();
void ClearUscreen();

// Single-value reads; each opens and closes the key by itself.
void LoadPageText(int page);
void ReadCurrentPage();
void ReadFontSize();
void ReadTextColor();
void ReadItemHeight();
void ReadEditMode();
void ReadShowText();
void ReadShowImage();
void ReadUscreen();
