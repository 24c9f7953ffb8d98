-- The screen library: the constants of dialog scripts, the state that
-- building a dialog carries, and the functions that every screen and dialog
-- script is written in. The window script runs it once, when it is made.

LUA_PATH = "?;../?;../../?"

-- Bits of a window's "align".
kHAlignLeft = 0
kHAlignCenter = 1
kHAlignRight = 2
kVAlignTop = 0
kVAlignCenter = 4
kVAlignBottom = 8

-- Button kinds.
kPush = 0
kToggle = 1
kRadio = 2
kAllLayers = -1
-- Coded coordinates: centred, and counted back from the far edge.
kCenter = 80000
kMax = 160000
kDefault = 128

kPushButtonAlignment = kHAlignCenter + kVAlignCenter
kRadioButtonAlignment = kHAlignLeft + kVAlignCenter
kToggleButtonAlignment = kHAlignCenter + kVAlignCenter

-- Message types.
kGeneric = 0
kCloseWindow = kGeneric + 1
kDefaultAction = kCloseWindow + 1
kButtonPress = kDefaultAction + 1
kPressAnyKey = kButtonPress + 1
kQuitNow = kPressAnyKey + 1
kModalClosed = kQuitNow + 1
kTextEditChanged = kModalClosed + 1
kCommandOnly = kTextEditChanged + 1
kSliderValChanged = kCommandOnly + 1
kSliderMouseUp = kSliderValChanged + 1
kSliderPageUp = kSliderMouseUp + 1
kSliderPageDown = kSliderPageUp + 1
kUserMessageBase = 1000

-- Game-state keys.
kCmdLine = "cmdline"
kLevel = "level"
kSubLevel = "sublevel"
kPause = "pause"
kMute = "mute"
kBreakNow = "breaknow"
kScore = "score"
kGameMode = "gamemode"
kGameOver = "gameover"
kNoMoreContent = "nomorecontent"
kDownloadButton = "downloadbutton"
kUpsellFrequency = "upsellfrequency"
kRestartButton = "restartbutton"
kSystemMode = "systemmode"
kMaxLevel = "maxlevel"

gReturnValue = nil

-- Setting keys.
kCheatMode = "cheatmode"
kComputerId = "computerid"
kGameName = "gamename"
kGameVersion = "version"
kEncryptionKey = "encryptionkey"
kHiscoreLocalOnly = "hiscorelocal"
kHiscoreAnonymous = "hiscoreanon"

idtable = {}
gParent = {}
gCurrentDefaultStyle = {}
gCurID = 100
gBeginGroup = 0

-- A style chain longer than this is taken for a cycle.
local kMaxStyleDepth = 32
-- The platform timer counts milliseconds in 32 bits and wraps.
local kTimerRange = 4294967296

-- Milliseconds since start on the platform timer, across its wrap.
local function Elapsed(start)
    local elapsed = GetTimer() - start
    if elapsed < 0 then
        elapsed = elapsed + kTimerRange
    end
    return elapsed
end

-- What a function gets for an argument that was left out.
local function OrEmpty(text)
    if text == nil then
        return ""
    end
    return text
end

-- --- Building dialogs ---

function Color(r, g, b, a)
    if a == nil then
        return { r / 255, g / 255, b / 255, 1 }
    end
    return { r / 255, g / 255, b / 255, a / 255 }
end

function FColor(r, g, b, a)
    if a == nil then
        a = 1
    end
    return { r, g, b, a }
end

function Push(w)
    table.insert(gParent, 1, w)
end

function Pop()
    table.remove(gParent, 1)
end

-- The closure a class function returns: creates the window, builds what
-- its description holds into it, and goes back to its parent.
function DoWindow(t)
    t.beginGroup = gBeginGroup
    gBeginGroup = 0
    GenericCreate(t)
    MakeDialog(t)
    PopWindow()
end

function DoDialogCommand(i, f)
    f()
end

-- Runs the description's entries in order (windows, styles, groups); the
-- default style they set lasts until the description ends.
function MakeDialog(t)
    local style = gCurrentDefaultStyle
    if t.name ~= nil and t.name ~= "" then
        SetWindowName(t.name)
    end
    table.foreachi(t, DoDialogCommand)
    typename = t.typename
    SetDefaultStyle(style)
    if typename then
        PostCreate(t, typename)
    end
end

function Creating(name, t)
end

function SetBeginGroup()
    gBeginGroup = 1
end

function BeginGroup()
    return function()
        SetBeginGroup()
    end
end

-- t[key], else the default style's, else up its "parent" chain.
function GetTag(t, key, ...)
    local deeper = arg[1]
    for level = 1, kMaxStyleDepth do
        if type(t) ~= "table" then
            return nil
        end
        local value = t[key]
        if value then
            return value
        end
        if deeper then
            t = t.parent
        else
            t = gCurrentDefaultStyle
            deeper = true
        end
    end
    return nil
end

function SetDefaultStyle(s)
    gCurrentDefaultStyle = s
end

function SetStyle(s)
    return function()
        SetDefaultStyle(s)
    end
end

function AppendStyle(s)
    return function()
        s.parent = gCurrentDefaultStyle
        SetDefaultStyle(s)
    end
end

function SetFocus(name)
    RealSetFocus(name)
end

function SetDefault(x)
    return function()
    end
end

function DistributeX(n)
    divisor = n + 1
    d = {}
    for i = 1, n do
        d[i] = i / divisor * gDialogWidth
    end
    return d
end

function DistributeY(n)
    local parts = n + 1
    local positions = {}
    for i = 1, n do
        positions[i] = i / parts * gDialogHeight
    end
    return positions
end

-- --- Modal dialogs ---

gClosedWindows = {}

-- Waits for the kModalClosed of the modal with that id. Other modals'
-- closings are remembered, so a later wait for one of them ends at once,
-- before it waits for any message.
function WaitForCloseMessage(id)
    while not gClosedWindows[id] do
        local m = WaitForMessage()
        if m ~= nil then
            gLastMessage = m
            if m.type == kModalClosed then
                if m.name == id then
                    return
                end
                gClosedWindows[m.name] = true
            end
        end
    end
    gClosedWindows[id] = nil
end

-- The value given to ModalReturn (or CloseWindow), taken once.
local function TakeReturnValue()
    local value = gReturnValue
    gReturnValue = nil
    return value
end

-- The file's results; a file that is missing or fails is reported, and the
-- caller goes on.
local function FinishReading(ok, ...)
    if ok then
        return unpack(arg)
    end
    _ALERT(tostring(arg[1]))
end

function ReadFile(f)
    return FinishReading(pcall(dofile, "assets/" .. f))
end

-- Runs a dialog's file into the modal pushed for it. A file that is missing
-- or does not compile is logged with its name and its modal popped, so the
-- screen below stays usable; false then. A file that fails while it runs
-- keeps the modal with what it built.
local function ReadDialog(file, id)
    local chunk, message = loadfile("assets/" .. file)
    if chunk == nil then
        _ALERT("dialog " .. file .. " cannot be loaded: " .. tostring(message))
        PopModal(id)
        return false
    end
    FinishReading(pcall(chunk))
    return true
end

function DoModal(file)
    local id = PushModal(file)
    if ReadDialog(file, id) then
        DoFitToChildren()
    end
    WaitForCloseMessage(id)
    return TakeReturnValue()
end

-- Runs the dialog's messages until its modal is gone.
function DoMainWindow(file)
    local id = PushModal(file)
    local depth = GetWindowDepth()
    if ReadDialog(file, id) then
        DoFitToChildren()
    end
    repeat
        gLastMessage = WaitForMessage()
    until GetWindowDepth() < depth
end

function ModalReturn(v)
    gReturnValue = v
end

-- The splash's wait: its duration, a close, a key unless abort is disabled,
-- or the end of its movie.
local function WaitForSplash(id, start, duration, disableAbort)
    while true do
        local m = WaitForMessage(1)
        if not inMovie and Elapsed(start) > duration then
            return
        end
        if m ~= nil then
            if m.type == kCloseWindow then
                return
            end
            if m.type == kModalClosed then
                if m.name == id then
                    return
                end
                gClosedWindows[m.name] = true
            end
            if not disableAbort and m.type == kPressAnyKey then
                return
            end
        end
        if inMovie and not IsMoviePlaying() then
            return
        end
    end
end

-- Plays the movie, or else shows the image, for the duration.
function DisplaySplash(movie, image, duration)
    local id = PushModal("DisplaySplash")
    local translate = GetTag({}, "translate") or false
    local allowInput = GetTag({}, "allowInput") or false
    inMovie = StartMovie(movie, translate, allowInput)
    local start = GetTimer()
    local disableAbort = GetTag({}, "disableAbort") or false
    local shown = inMovie
    if not inMovie then
        local overlay = GetTag({}, "splashoverlay") or Group({})
        if image == nil then
            return
        end
        MakeDialog({ Bitmap({ name = "splashimage", image = image, overlay }) })
        UpdateWindow()
        Pause(50)
        UpdateWindow()
        Pause(50)
        shown = ImageLoaded("splashimage")
    end
    if shown then
        WaitForSplash(id, start, duration, disableAbort)
    end
    if inMovie then
        StopMovie()
    end
    PopModal(id)
end

-- --- Waiting for messages ---

gCommandQueue = {}
gMessageQueue = {}

function FlushMessages()
    while HandleGetMessage(1) do
    end
    gCommandQueue = {}
    gMessageQueue = {}
end

-- The newest queued message, else the next one to arrive (nil after the
-- time-out). Runs the command that came with it, or else the last queued.
function WaitForMessage(timeout, skipQueue)
    if not skipQueue and table.getn(gMessageQueue) > 0 then
        message = table.remove(gMessageQueue)
        return message
    end
    local m, c = HandleGetMessage(timeout)
    if c then
        gYieldResult = c()
    elseif table.getn(gCommandQueue) > 0 then
        local command = table.remove(gCommandQueue)
        gYieldResult = command()
    end
    return m
end

function Yield()
    return coroutine.yield()
end

function CloseWindow(v)
    PostMessage(CreateCloseMessage())
    if v ~= nil then
        ModalReturn(v)
    end
end

function CustomCreator(x)
end

function GetString(label, a1, a2, a3, a4, a5)
    return _GetString(label, OrEmpty(a1), OrEmpty(a2), OrEmpty(a3), OrEmpty(a4), OrEmpty(a5))
end

function SetBitmap(name, image, scale)
    if scale == nil then
        scale = 1
    end
    _SetBitmap(name, image, scale)
end

function PopModal(name)
    DoPopModal(name)
end

function SwapToModal(file)
    ClearModalChildren()
    ReadFile(file)
    DoFitToChildren()
end

gDialogTable = {}

-- Like DoModal, with the dialog's table in gDialogTable and no fitting.
function DisplayDialog(t)
    local file = t[1]
    if file == nil or file == "" then
        DebugOut("DisplayDialog called with empty script; aborting")
        return
    end
    local id = PushModal(file)
    gDialogTable = t
    ReadDialog(file, id)
    WaitForCloseMessage(id)
    return TakeReturnValue()
end

function SelectLayer(n)
    return function()
        DoSelectLayer(n)
    end
end

function Group(t)
    return function()
        MakeDialog(t)
    end
end

function FitToChildren()
    return function()
        DoFitToChildren()
    end
end

-- Waits ms milliseconds, or until a key when anyKey is set. Other messages
-- are kept for the dialog's own wait.
function Pause(ms, anyKey)
    anyKey = anyKey or false
    local start = GetTimer()
    local elapsed = 0
    while elapsed < ms do
        local m = WaitForMessage(ms - elapsed, true)
        if m ~= nil then
            if anyKey and m.type == kPressAnyKey then
                return
            end
            table.insert(gMessageQueue, m)
        end
        elapsed = Elapsed(start)
    end
end

function SetState(key, value)
    if value == true then
        value = 1
    elseif value == false then
        value = 0
    end
    _SetState(tostring(key), tostring(value))
end

function RegisterHotkey(key, button)
    if key ~= nil and button ~= nil then
        _RegisterHotkey(key, button)
    end
end
