#include "graphics/widgets/widgetclasses.h"

#include "core/windows/windowscript.h"
#include "graphics/widgets/button.h"
#include "graphics/widgets/image.h"
#include "graphics/widgets/slider.h"
#include "graphics/widgets/text.h"
#include "graphics/widgets/textedit.h"

void RegisterWidgetClasses() {
    TWindowScript::SetWidgetClass("Slider", TSlider::ClassId());
    TWindowScript::SetWidgetClass("Bitmap", TImage::ClassId());
    TWindowScript::SetWidgetClass("Button", TButton::ClassId());
    TWindowScript::SetWidgetClass("Text", TText::ClassId());
    TWindowScript::SetWidgetClass("TextEdit", TTextEdit::ClassId());
}
