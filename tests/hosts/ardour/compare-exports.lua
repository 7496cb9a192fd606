-- Judges the two exports of the sidechain check, one from the running
-- session and one from the reopened session. In each, the key tone is loud
-- in the first half and silent in the second: the sidechain must change the
-- output level between the halves, and the reopened session must sound as
-- the running one did. Levels are taken where the detector has settled on
-- steady tones: 0.5 s to 1.9 s (loud key) and 2.5 s to 4 s (silent key).
--   ardour7-lua compare-exports.lua EXPORT_DIR
local export_dir = arg[1]
local rate = 48000
local windows = { loud = { 0.5, 1.9 }, silent = { 2.5, 4.0 } }
local min_effect_db = 1.0     -- the sidechain's effect on the output level
local same_db = 0.1           -- reopened against running, per window
local min_level_db = -60.0    -- a window this quiet means nothing was heard

-- Left and right channels of a 32-bit float WAV file.
local function read_wav (path)
	local f = io.open (path, "rb")
	if not f then return nil, path .. " is missing" end
	local data = f:read ("a")
	f:close ()
	if data:sub (1, 4) ~= "RIFF" or data:sub (9, 12) ~= "WAVE" then return nil, path .. " is not a WAV file" end
	local pos, format, channels, bits = 13, nil, nil, nil
	while pos + 8 <= #data do
		local id, size = data:sub (pos, pos + 3), string.unpack ("<I4", data, pos + 4)
		if id == "fmt " then
			format, channels = string.unpack ("<I2I2", data, pos + 8)
			bits = string.unpack ("<I2", data, pos + 22)
		elseif id == "data" then
			if not channels or channels < 1 or bits ~= 32 or (format ~= 3 and format ~= 0xFFFE) then
				return nil, path .. " is not 32-bit float"
			end
			local frames = math.min (size, #data - pos - 7) // (4 * channels)
			local left, right, p = {}, {}, pos + 8
			for i = 1, frames do
				left[i] = string.unpack ("<f", data, p)
				right[i] = channels > 1 and string.unpack ("<f", data, p + 4) or left[i]
				p = p + 4 * channels
			end
			return { left = left, right = right }
		end
		pos = pos + 8 + size + (size % 2)
	end
	return nil, path .. " holds no audio"
end

-- Level of both channels over [from, to) seconds; nil when a sample there is
-- not a finite number or the export is too short.
local function level_db (audio, from, to)
	local first, last = math.floor (from * rate) + 1, math.floor (to * rate)
	if last > #audio.left then return nil end
	local sum = 0
	for i = first, last do
		local l, r = audio.left[i], audio.right[i]
		if l ~= l or r ~= r or math.abs (l) == math.huge or math.abs (r) == math.huge then return nil end
		sum = sum + l * l + r * r
	end
	return sum > 0 and 10 * math.log (sum / (2 * (last - first + 1)), 10) or -math.huge
end

local failures = 0
local function expect (ok, text)
	print ((ok and "  ok    " or "  FAIL  ") .. text)
	if not ok then failures = failures + 1 end
end

local levels = {}
for _, name in ipairs ({ "live", "reopened" }) do
	local audio, err = read_wav (export_dir .. "/" .. name .. ".wav")
	if not audio then
		print ("  FAIL  " .. err)
		os.exit (1)
	end
	levels[name] = {}
	for _, key in ipairs ({ "loud", "silent" }) do
		local w = windows[key]
		local db = level_db (audio, w[1], w[2])
		expect (db ~= nil, string.format ("%s, %s key: %.1f s to %.1f s exported, every sample a finite number",
			name, key, w[1], w[2]))
		db = db or -math.huge
		levels[name][key] = db
		expect (db > min_level_db, string.format ("%s, %s key: level %.2f dBFS, above %.0f dBFS", name, key, db,
			min_level_db))
	end
end

for _, name in ipairs ({ "live", "reopened" }) do
	local l = levels[name]
	local effect = math.abs (l.loud - l.silent)
	expect (effect >= min_effect_db, string.format (
		"%s session: the sidechain changes the output level by %.2f dB (loud key %.2f, silent key %.2f dBFS; at least %.1f dB)",
		name == "live" and "running" or "reopened", effect, l.loud, l.silent, min_effect_db))
end
for _, key in ipairs ({ "loud", "silent" }) do
	local a, b = levels.live[key], levels.reopened[key]
	expect (math.abs (a - b) <= same_db, string.format (
		"%s key: reopened %.2f dBFS against running %.2f dBFS (within %.1f dB)", key, b, a, same_db))
end

if failures > 0 then
	print (failures .. " check(s) failed")
	os.exit (1)
end
print ("all checks passed")
