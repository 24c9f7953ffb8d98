-- "bad argument" messages name a function that its call site leaves unnamed
-- by the global variable that holds it.

print("pcall:", pcall(tonumber))
print("pcall with arguments:", pcall(tonumber, "1", 99))
print("pcall tostring:", pcall(tostring))

local tn = tonumber
local function tailUpvalue() return tn("1", 99) end
local function callUpvalue() local v = tn("1", 99) return v end
print("tail call through upvalue:", pcall(tailUpvalue))
print("call through upvalue:", pcall(callUpvalue))

-- a name at the call site still wins
local function callLocal() local n = tonumber n("1", 99) end
local t = {f = tonumber}
local function callField() local v = t.f("1", 99) return v end
local function callGlobal() local v = tonumber("1", 99) return v end
print("local:", pcall(callLocal))
print("field:", pcall(callField))
print("global:", pcall(callGlobal))

-- a function that only a library table holds stays unnamed
print("library only:", pcall(string.rep))
local rep = string.rep
print("library through upvalue:", pcall(function() return rep() end))
