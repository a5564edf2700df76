#include "keAbstractDirectShowAVSource.h"

keAbstractDirectShowAVSource::keAbstractDirectShowAVSource() : log(keCreateLog("keAbstractDirectShowAVSource")) {}

keAbstractDirectShowAVSource::~keAbstractDirectShowAVSource() { delete log; }
