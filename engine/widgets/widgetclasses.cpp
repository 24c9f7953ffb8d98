#include "widgets/widgetclasses.h"

#include "core/windows/windowscript.h"
#include "widgets/button.h"
#include "widgets/image.h"
#include "widgets/slider.h"
#include "widgets/text.h"
#include "widgets/textedit.h"

void RegisterWidgetClasses() {
    TWindowScript::SetWidgetClass("Slider", TSlider::ClassId());
    TWindowScript::SetWidgetClass("Bitmap", TImage::ClassId());
    TWindowScript::SetWidgetClass("Button", TButton::ClassId());
    TWindowScript::SetWidgetClass("Text", TText::ClassId());
    TWindowScript::SetWidgetClass("TextEdit", TTextEdit::ClassId());
}
