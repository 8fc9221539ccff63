#pragma once
// Every control's design name (a kind word and a number: Command17, Label22,
// Frame8, Option1, Timer4, Text1, Image1) under a name that says what it is.
// Code and tests use these; the design names appear nowhere else. What each
// control shows and where it stands is in ControlTable.cpp.

namespace panel::names {

// The window.
inline constexpr const char* Window = "Form1";

// Top row: power, input selection, input signal path and the picture.
inline constexpr const char* PowerGroup = "Frame1";
inline constexpr const char* PowerTitle = "Label1";
inline constexpr const char* PowerOn = "Command17";
inline constexpr const char* PowerOff = "Command18";
inline constexpr const char* InputGroup = "Frame2";
inline constexpr const char* InputTitle = "Label2";
inline constexpr const char* InputPc1 = "Command27";
inline constexpr const char* InputPc2 = "Command28";
inline constexpr const char* InputVideo = "Command29";
inline constexpr const char* SignalPathGroup = "Frame10";
inline constexpr const char* SignalPathTitle = "Label14";
inline constexpr const char* Wired = "Command37";
inline constexpr const char* Wireless = "Command38";
inline constexpr const char* Picture = "Image1";

// Second row: on/off and two-way groups.
inline constexpr const char* SoundMuteGroup = "Frame3";
inline constexpr const char* SoundMuteTitle = "Label4";
inline constexpr const char* SoundMuteOn = "Command19";
inline constexpr const char* SoundMuteOff = "Command20";
inline constexpr const char* NoShowGroup = "Frame4";
inline constexpr const char* NoShowTitle = "Label5";
inline constexpr const char* NoShowOn = "Command21";
inline constexpr const char* NoShowOff = "Command22";
inline constexpr const char* FreezeGroup = "Frame7";
inline constexpr const char* FreezeTitle = "Label8";
inline constexpr const char* FreezeOn = "Command25";
inline constexpr const char* FreezeOff = "Command26";
inline constexpr const char* MenuGroup = "Frame6";
inline constexpr const char* MenuTitle = "Label7";
inline constexpr const char* MenuOn = "Command23";
inline constexpr const char* MenuOff = "Command24";
inline constexpr const char* AvSizeGroup = "Frame5";
inline constexpr const char* AvSizeTitle = "Label6";
inline constexpr const char* AvRegular = "Command31";
inline constexpr const char* AvWide = "Command32";

// Cursor keys, held to repeat.
inline constexpr const char* CursorUp = "Command5";
inline constexpr const char* CursorLeft = "Command9";
inline constexpr const char* Select = "Command6";
inline constexpr const char* CursorRight = "Command8";
inline constexpr const char* CursorDown = "Command7";

// Adjusters, held to repeat.
inline constexpr const char* VolumeTitle = "Label3";
inline constexpr const char* VolumeUp = "Command1";
inline constexpr const char* VolumeDown = "Command2";
inline constexpr const char* BrightnessTitle = "Label13";
inline constexpr const char* BrightnessUp = "Command15";
inline constexpr const char* BrightnessDown = "Command35";
inline constexpr const char* ZoomTitle = "Label17";
inline constexpr const char* ZoomUp = "Command48";
inline constexpr const char* ZoomDown = "Command49";
inline constexpr const char* KeystoneTitle = "Label18";
inline constexpr const char* KeystoneUp = "Command50";
inline constexpr const char* KeystoneDown = "Command51";

// Right-hand column.
inline constexpr const char* AutoImage = "Command13";          // "A-IMAGE"
inline constexpr const char* ImageAdjust = "Command30";        // "IMAGE"
inline constexpr const char* PresentationTimer = "Command14";  // "P-TIMER"
inline constexpr const char* DisplayClear = "Command3";
inline constexpr const char* End = "Command16";

// Remote-control key lock.
inline constexpr const char* KeyLockTitle = "Label19";
inline constexpr const char* KeyLockNone = "Command56";
inline constexpr const char* KeyLockRemote = "Command57";  // "R/C"
inline constexpr const char* KeyLockKeys = "Command58";    // "KEY"

// Picture modes.
inline constexpr const char* PictureStandard = "Command4";  // "STAND"
inline constexpr const char* PictureReal = "Command10";
inline constexpr const char* PictureCinema = "Command11";
inline constexpr const char* PictureImage1 = "Command39";
inline constexpr const char* PictureImage2 = "Command40";
inline constexpr const char* PictureImage3 = "Command41";
inline constexpr const char* PictureImage4 = "Command42";
inline constexpr const char* PictureBlackboard = "Command12";  // "B.Board"
inline constexpr const char* PictureDynamic = "Command36";

// Port settings: "COM" shows the frame of port and speed options.
inline constexpr const char* Com = "Command33";
inline constexpr const char* PortSettings = "Frame8";
inline constexpr const char* Com1 = "Option1";
inline constexpr const char* Com2 = "Option2";
inline constexpr const char* SpeedGroup = "Frame13";
inline constexpr const char* Speed19200 = "Option9";
inline constexpr const char* Speed9600 = "Option10";

// Status queries and the data-display toggle.
inline constexpr const char* StatusQuery = "Command44";       // "STATUS"
inline constexpr const char* LampTimeQuery = "Command46";     // "L-TIME"
inline constexpr const char* TemperatureQuery = "Command54";  // "TEMP"
inline constexpr const char* InputQuery = "Command45";        // "MODE"
inline constexpr const char* ReversalQuery = "Command47";     // "SETTING"
inline constexpr const char* LampModeQuery = "Command52";     // "L-MODE"
inline constexpr const char* DataToggle = "Command34";

// Traffic trace.
inline constexpr const char* TraceGroup = "Frame9";
inline constexpr const char* SentTitle = "Label9";  // "TXD"
inline constexpr const char* SentTrace = "Label11";
inline constexpr const char* ReceivedTitle = "Label10";  // "RXD"
inline constexpr const char* ReceivedTrace = "Label12";
inline constexpr const char* StatusTitle = "Label23";
inline constexpr const char* StatusText = "Label22";

// Signal type per input.
inline constexpr const char* SignalTypeGroup = "Frame14";
inline constexpr const char* Pc1SignalTitle = "Label15";
inline constexpr const char* Pc1Rgb = "Command64";
inline constexpr const char* Pc1DviPc = "Command65";  // "DVI(PC Digital)"
inline constexpr const char* Pc1DviAv = "Command66";  // "DVI(AV HDCP)"
inline constexpr const char* Pc2SignalTitle = "Label16";
inline constexpr const char* Pc2Rgb = "Command72";
inline constexpr const char* Pc2Component = "Command74";
inline constexpr const char* Pc2Scart = "Command73";
inline constexpr const char* VideoSignalTitle = "Label24";
inline constexpr const char* VideoAuto = "Command81";
inline constexpr const char* VideoComposite = "Command82";  // "Video"
inline constexpr const char* VideoSVideo = "Command69";

// Direct command entry.
inline constexpr const char* EntryGroup = "Frame15";
inline constexpr const char* EntryTitle = "Label26";  // "CMD"
inline constexpr const char* CommandText = "Text1";
inline constexpr const char* Send = "Command95";
inline constexpr const char* ClearText = "Command96";  // "CLS"

// Timers.
inline constexpr const char* RepeatTimer = "Timer1";
inline constexpr const char* ReplyTimeout = "Timer2";
inline constexpr const char* SettingsAutoHide = "Timer3";
inline constexpr const char* TraceClear = "Timer4";
inline constexpr const char* SpareTimer = "Timer5";  // never enabled

}  // namespace panel::names
