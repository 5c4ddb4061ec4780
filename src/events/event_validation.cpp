// The validation pass over the parsed event files: every expression and every
// effect of every document is checked, wherever it stands in the file.
#include <tinyxml.h>

#include "events/effect_methods.h"
#include "events/event_conditions.h"
#include "events/event_xml.h"
#include "events/zdarzenia.h"
#include "foundation/console_log.h"
#include "foundation/fatal.h"

namespace tr {
namespace {

// Depth first in document order; a found element is not searched further.
template <typename Found>
void CollectElements(const TiXmlNode& node, const char* name, const Found& found) {
  for (const TiXmlNode* child = node.FirstChild(); child != nullptr; child = child->NextSibling()) {
    const TiXmlElement* element = child->ToElement();
    if (element != nullptr && element->ValueStr() == name) {
      found(*element);
    } else {
      CollectElements(*child, name, found);
    }
  }
}

}  // namespace

void cEventEngine::ValidateEventsFile() {
  validationExpressions.clear();
  validationEffects.clear();

  LogLine(u"Validation of events XML file. Searching for expressions...");
  for (const auto& document : documents) {
    CollectElements(*document, "expression", [this](const TiXmlElement& element) {
      LogFormat(u"<expression> found at row %i", ElementLine(element));
      validationExpressions.push_back(ReadExpression(element));
    });
  }
  for (sExpression& expression : validationExpressions) ValidateExpression(expression);

  LogLine(u"Validation of events XML file. Searching for effects...");
  for (const auto& document : documents) {
    CollectElements(*document, "effect", [this](const TiXmlElement& element) {
      LogFormat(u"<effect> found at row %i", ElementLine(element));
      validationEffects.push_back(ReadEffect(element));
    });
  }
  for (sEffect& effect : validationEffects) {
    if (!ValidateEffect(effect)) {
      LogFormat(u"CRITICAL: Effect at line %i is not correct. See error messages above. Exiting...", effect.line);
      FatalExit(1);
    }
  }
}

}  // namespace tr
