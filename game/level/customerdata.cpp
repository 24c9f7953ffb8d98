#include "game/level/customerdata.h"

#include "foundation/xmlnode.h"
#include "game/shell/value.h"

std::shared_ptr<VCustomerData> VCustomerData::Create() {
    return std::make_shared<VCustomerData>();
}

void VCustomerData::Read(TXmlNode* element) {
    mOrders.clear();
    if (!element) return;
    TString name;
    TXmlNode* child = nullptr;
    for (element->ResetChildIterator(); element->NextChild(name, child);) {
        if (name == "name") {
            mName = child->GetText();
        } else if (name == "type") {
            mType = child->GetText();
        } else if (name == "station") {
            mStation = child->GetText();
        } else if (name == "start") {
            mStart = TextToFloat(child->GetText());
        } else if (name == "end") {
            mEnd = TextToFloat(child->GetText());
        } else if (name == "decay") {
            mDecay = TextToFloat(child->GetText());
        } else if (name == "tip") {
            mTip = TextToFloat(child->GetText());
        } else if (name == "order") {
            VChocolateSpec order;
            order.Read(*child);
            mOrders.push_back(order);
        }
    }
}
