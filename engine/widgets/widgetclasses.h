// Names the engine widgets for the window script: "Slider", "Bitmap",
// "Button", "Text" and "TextEdit". Scripts made afterwards create them.
#pragma once

void RegisterWidgetClasses();
