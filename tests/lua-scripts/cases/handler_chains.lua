-- __index and __newindex chains of tables: long chains work, loops stop.

-- head -> 1 -> 2 -> ... -> length: returns the head and the last table
local function chain(length, event)
  local head = {}
  local last = head
  for i = 1, length do
    local next = {}
    setmetatable(last, {[event] = next})
    last = next
  end
  return head, last
end

local function readThrough(length)
  local head, last = chain(length, "__index")
  last.x = "found"
  return pcall(function() return head.x end)
end
print("index 100:", readThrough(100))
print("index 101:", readThrough(101))
print("index 102:", readThrough(102))

-- a function at the end of the longest chain is still called
local head, last = chain(101, "__index")
setmetatable(last, {__index = function(t, k) return "from function " .. k end})
print("index function:", head.y)

-- globals and methods read through the same chains
local function readGlobal() return print ~= nil end
head, last = chain(100, "__index")
last.print = print
setfenv(readGlobal, head)
print("global through 100:", readGlobal())
head, last = chain(100, "__index")
function last.method(self, v) return "method " .. v end
print("method through 100:", head:method(1))

local function writeThrough(length)
  local head, last = chain(length, "__newindex")
  local ok, msg = pcall(function() head.x = "stored" end)
  return ok, msg, rawget(head, "x"), rawget(last, "x")
end
print("newindex 100:", writeThrough(100))
print("newindex 101:", writeThrough(101))

head, last = chain(100, "__newindex")
setmetatable(last, {__newindex = function(t, k, v) rawset(t, k, "function got " .. v) end})
head.z = 1
print("newindex function:", rawget(last, "z"))

-- loops
local loop = {}
setmetatable(loop, {__index = loop, __newindex = loop})
print("index loop:", pcall(function() return loop.x end))
print("newindex loop:", pcall(function() loop.x = 1 end))
