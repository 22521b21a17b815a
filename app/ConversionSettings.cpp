#include "app/ConversionSettings.h"

ConversionSettingsFields ConversionSettings;
