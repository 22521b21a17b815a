#pragma once

class PictureBox;

// The window's sampling pass: samples the source picture (SamplePicture) with the Sampling and
// Fit of ConversionSettings, stores the samples in the SampleGrid and draws each one, as read,
// into the preview.
void CaptureSampleGrid(const PictureBox& source, PictureBox& preview);
