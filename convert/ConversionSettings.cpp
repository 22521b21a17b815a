#include "convert/ConversionSettings.h"

ConversionSettingsFields ConversionSettings;
