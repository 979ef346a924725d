#include "ui/interface_texts.h"

InterfaceTexts interfaceTexts;
