-- One falling star: caught when it meets the paddle, lost at the bottom.
local picture = loadTexture("star.png")

function start(id)
    local width, height = screenSize()
    local top = height - 40
    while not over do
        local x = getKey(id, "x")
        local y = getKey(id, "y") + (paused and 0 or getKey(id, "speed") * frameTime())
        setKey(id, "y", y)
        if y + 24 >= top and y <= top + 16 and x + 24 > paddleX and x < paddleX + 96 then
            score = score + 1
            break
        end
        if y > height then
            lives = lives - 1
            over = lives <= 0
            break
        end
        drawSprite(picture, x, y, {angle = y * 1.5, tint = {255, 225, 90}})
        wait(nextFrame(id))
    end
    deleteObject(id)
end
